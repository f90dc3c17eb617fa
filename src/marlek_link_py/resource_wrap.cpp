// Resource and the resource methods of MarlekLink: files the workstation
// stores, listed, created, filled, read, downloaded and deleted from Python.
// The network round trips run without the interpreter lock, so that the
// link's callbacks (which need it) are not held up behind them, and can be
// interrupted (blocking_call.hpp).

#include "marlek_link_py/blocking_call.hpp"
#include "marlek_link_py/data_text.hpp"
#include "marlek_link_py/link_wrap.hpp"

#include "marlek_link/marlek_link.hpp"
#include "marlek_link_json/resource.hpp"

#include <pybind11/pybind11.h>
#include <pybind11/stl.h>
#include <pybind11/stl/filesystem.h>
#include <pybind11/typing.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace py = pybind11;

namespace {

// The buffer's bytes in logical (C) order. A strided view, such as
// memoryview(b)[::2], is gathered element by element: read as one block from
// its start it would give other bytes and run past its memory.
std::vector<char> contiguousBytes(const py::buffer& data)
{
    Py_buffer view;
    if (PyObject_GetBuffer(data.ptr(), &view, PyBUF_RECORDS_RO) != 0) {
        throw py::error_already_set();
    }
    std::vector<char> bytes(static_cast<std::size_t>(view.len));
    const int copied = PyBuffer_ToContiguous(bytes.data(), &view, view.len, 'C');
    PyBuffer_Release(&view);
    if (copied != 0) {
        throw py::error_already_set();
    }
    return bytes;
}

py::typing::Union<py::bytes, ErrorObject> retrieve(MarlekLink& link, const Resource& resource, std::uint64_t limit,
                                                   std::uint64_t offset)
{
    std::vector<char> output;
    ErrorObject error =
        callLinkInterruptibly(link, [&] { return link.retrieveResource(resource, output, limit, offset); });
    if (error.getErrorCodeEnum() != ErrorCodeEnum::NONE) {
        return py::cast(std::move(error));
    }
    return py::bytes(output.data(), output.size());
}

// The core fills a copy, so that other Python threads never see the handle
// half rewritten.
ErrorObject updateInfo(MarlekLink& link, Resource& resource)
{
    Resource updated = resource;
    ErrorObject error = callLinkInterruptibly(link, [&] { return link.getUpdatedResourceInfo(updated); });
    resource = std::move(updated);
    return error;
}

} // namespace

void register_resource_class(py::module_& m)
{
    py::class_<Resource>(m, "Resource")
        .def(py::init<>())
        .def_static("from_id", &Resource::fromId, py::arg("type"), py::arg("resource_id"))
        .def("is_valid", &Resource::isValid)
        .def("get_id", withDataText(&Resource::getResourceId))
        .def("get_type", &Resource::getType)
        .def("get_name", withDataText(&Resource::getName))
        .def("get_creation_date", withDataText(&Resource::getCreated))
        .def("get_last_updated_date", withDataText(&Resource::getUpdated))
        .def("get_size", &Resource::getSize)
        .def_property_readonly_static("DATA_CHUNK_SIZE_LIMIT",
                                      [](const py::object&) { return Resource::DATA_CHUNK_SIZE_LIMIT; });
}

void add_link_resource_methods(LinkClass& cls)
{
    cls.def(
        "create_resource",
        [](MarlekLink& link, ResourceTypeEnum type, const std::string& resourceName) {
            return valueOrError(callLinkInterruptibly(link, [&] { return link.createResource(type, resourceName); }));
        },
        py::arg("type"), py::arg("resource_name"),
        "\n    Create a resource\n\n"
        "    :param type: a :class:`marlek_link.ResourceTypeEnum`\n"
        "    :param resource_name: Name of the resource\n"
        "    :returns: the new :class:`marlek_link.Resource`, invalid when the workstation did not create it\n");
    cls.def(
        "create_resource_from_file",
        [](MarlekLink& link, ResourceTypeEnum type, const std::filesystem::path& path,
           const std::string& resourceName) {
            return valueOrError(
                callLinkInterruptibly(link, [&] { return link.createResourceFromFile(type, path, resourceName); }));
        },
        py::arg("type"), py::arg("file_name_and_path"), py::arg("resource_name") = "",
        "\n    Create a resource from a file\n\n"
        "    :param type: a :class:`marlek_link.ResourceTypeEnum`\n"
        "    :param file_name_and_path: Path to the file\n"
        "    :param resource_name: Optional resource name\n"
        "    :returns: the new :class:`marlek_link.Resource`, invalid when it could not be created or filled\n");
    cls.def(
        "append_to_resource",
        [](MarlekLink& link, const Resource& resource, const py::buffer& data) {
            const std::vector<char> bytes = contiguousBytes(data);
            return callLinkInterruptibly(link, [&] { return link.appendToResource(resource, bytes); });
        },
        py::arg("resource").none(false), py::arg("data"),
        "\n    Append data to a resource\n\n"
        "    :param resource: Resource object\n"
        "    :param data: Data as bytearray\n"
        "    :returns: :class:`marlek_link.ErrorObject`, falsy on success\n");
    cls.def("retrieve_resource", &retrieve, py::arg("resource").none(false), py::arg("limit") = 0,
            py::arg("offset") = 0,
            "\n    Retrieve resource data\n\n"
            "    :param resource: a :class:`marlek_link.Resource` object\n"
            "    :param limit: Max bytes to retrieve (0 = max)\n"
            "    :param offset: Offset in resource\n"
            "    :returns: the data as bytes on success, the :class:`marlek_link.ErrorObject` on failure\n");
    cls.def(
        "download_resource_to_file",
        [](MarlekLink& link, const Resource& resource, const std::filesystem::path& path) {
            return callLinkInterruptibly(link, [&] { return link.downloadResourceToFile(resource, path); });
        },
        py::arg("resource").none(false), py::arg("file_name_and_path"),
        "\n    Download resource to file\n\n"
        "    :param resource: a :class:`marlek_link.Resource` object\n"
        "    :param file_name_and_path: Path to save file\n"
        "    :returns: :class:`marlek_link.ErrorObject`, falsy on success\n");
    cls.def(
        "delete_resource",
        [](MarlekLink& link, const Resource& resource) {
            return callLinkInterruptibly(link, [&] { return link.deleteResource(resource); });
        },
        py::arg("resource").none(false),
        "\n    Delete a resource\n\n"
        "    :param resource: a :class:`marlek_link.Resource` object\n"
        "    :returns: :class:`marlek_link.ErrorObject`, falsy on success\n");
    cls.def(
        "get_available_resources",
        [](MarlekLink& link, ResourceTypeEnum type) {
            return valueOrError(callLinkInterruptibly(link, [&] { return link.getAvailableResources(type); }));
        },
        py::arg("type"),
        "\n    Get available resources of a type\n\n"
        "    :param type: a :class:`marlek_link.ResourceTypeEnum`\n"
        "    :returns: a list of :class:`marlek_link.Resource` objects on success, the\n"
        "        :class:`marlek_link.ErrorObject` on failure\n");
    cls.def("get_updated_resource_info", &updateInfo, py::arg("resource").none(false),
            "\n    Update resource info\n\n"
            "    :param resource: a :class:`marlek_link.Resource` object\n"
            "    :returns: :class:`marlek_link.ErrorObject`, falsy on success\n");
}
