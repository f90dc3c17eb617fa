// init_xml_importer_wrap: MXmlImporter, which reads standalone XML files from
// memory or from disk, their information block alone, and bare elements. The
// typed imports check the class of what was read. Failures come back as
// ErrorObject values; only arguments of the wrong type raise.

#include "marlek_link_py/docstring.hpp"
#include "marlek_link_py/init_wrap.hpp"
#include "marlek_link_py/py_imported_file.hpp"
#include "marlek_link_py/xml_objects.hpp"

#include "marlek_link_json/jobs/ac/dataset/eis_dataset.hpp"
#include "marlek_link_json/jobs/dc/dataset/dc_dataset.hpp"
#include "marlek_link_json/xml/measurement.hpp"
#include "marlek_link_json/xml/mxml_importer.hpp"

#include <pybind11/pybind11.h>
#include <pybind11/stl/filesystem.h>

#include <filesystem>
#include <memory>
#include <string>

namespace py = pybind11;

namespace {

using MXml::ImportedFile;
using MXml::MXmlImporter;
using Result = std::expected<ImportedFile, ErrorObject>;

OrError<PyImportedFile> importedOrError(Result&& result)
{
    return value_or_error<PyImportedFile>(std::move(result), [](ImportedFile file) {
        return py::cast(PyImportedFile{std::move(file.object), std::move(file.file_info)});
    });
}

template <typename Wanted>
OrError<PyImportedFile> importedAs(Result&& result)
{
    if (result && !std::dynamic_pointer_cast<Wanted>(result->object)) {
        result = std::unexpected(MXmlImporter::makeTypeMismatchError());
    }
    return importedOrError(std::move(result));
}

Result fromMemory(const MXmlImporter& importer, const py::bytes& data)
{
    return importer.importFromMemory(std::string(data));
}

template <typename Wanted>
OrError<PyImportedFile> memoryAs(const MXmlImporter& importer, const py::bytes& data)
{
    return importedAs<Wanted>(fromMemory(importer, data));
}

template <typename Wanted>
OrError<PyImportedFile> fileAs(const MXmlImporter& importer, const std::filesystem::path& path)
{
    return importedAs<Wanted>(importer.importFromFile(path));
}

} // namespace

void init_xml_importer_wrap(py::module_& xml)
{
    py::class_<MXmlImporter, std::shared_ptr<MXmlImporter>>(xml, "MXmlImporter")
        .def(py::init<>(),
             MARLEK_DOC("Class to import datasets from Marlek XML format.\n\n"
                        "    Every method returns the imported data on success or an ErrorObject on failure.\n"
                        "    A file whose file-version lies outside the supported range is rejected with\n"
                        "    FILE_VERSION_NOT_SUPPORTED rather than misread."))
        .def(
            "import_from_memory",
            [](const MXmlImporter& importer, const py::bytes& data) {
                return importedOrError(fromMemory(importer, data));
            },
            py::arg("data"), MARLEK_DOC("Create an XmlSerializable from bytes in memory."))
        .def(
            "import_from_file",
            [](const MXmlImporter& importer, const std::filesystem::path& path) {
                return importedOrError(importer.importFromFile(path));
            },
            py::arg("filename"), MARLEK_DOC("Import a standalone XML file."))
        .def("import_from_memory_as_measurement", &memoryAs<MXml::Measurement>, py::arg("data"),
             MARLEK_DOC("As import_from_memory; the file must hold a Measurement."))
        .def("import_from_memory_as_dc_dataset", &memoryAs<DcDataset>, py::arg("data"),
             MARLEK_DOC("As import_from_memory; the file must hold a DcDataset."))
        .def("import_from_memory_as_eis_dataset", &memoryAs<EisDataset>, py::arg("data"),
             MARLEK_DOC("As import_from_memory; the file must hold an EisDataset."))
        .def("import_from_file_as_measurement", &fileAs<MXml::Measurement>, py::arg("filename"),
             MARLEK_DOC("As import_from_file; the file must hold a Measurement."))
        .def("import_from_file_as_dc_dataset", &fileAs<DcDataset>, py::arg("filename"),
             MARLEK_DOC("As import_from_file; the file must hold a DcDataset."))
        .def("import_from_file_as_eis_dataset", &fileAs<EisDataset>, py::arg("filename"),
             MARLEK_DOC("As import_from_file; the file must hold an EisDataset."))
        .def(
            "read_file_info",
            [](const MXmlImporter& importer, const std::filesystem::path& path) {
                return value_or_error<MXml::MarlekFileInfo>(
                    importer.readFileInfo(path), [](MXml::MarlekFileInfo info) { return py::cast(std::move(info)); });
            },
            py::arg("filename"),
            MARLEK_DOC("Read the marlek-fileinfo block from the first 64 KiB of the file. The format version\n"
                       "    is not checked: see XmlFormatVersion.is_supported."))
        .def(
            "deserialize",
            [](const MXmlImporter& importer, const py::bytes& data) {
                return value_or_error<XmlObject>(importer.deserialize(std::string(data)), &xml_object_to_python);
            },
            py::arg("data"),
            MARLEK_DOC("Read a bare XML element, as MXmlExporter.serialize writes it, in the current format."));
}
