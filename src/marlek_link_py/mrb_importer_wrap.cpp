// init_mrb_importer_wrap: MrbImporter, which reads ".mrb" snapshot files from
// memory or from disk as a DcDataset or an EisDataset. Failures come back as
// ErrorObject values; only arguments of the wrong type raise.

#include "marlek_link_py/docstring.hpp"
#include "marlek_link_py/init_wrap.hpp"
#include "marlek_link_py/xml_objects.hpp"

#include "marlek_link_json/jobs/ac/dataset/eis_dataset.hpp"
#include "marlek_link_json/jobs/dc/dataset/dc_dataset.hpp"
#include "marlek_link_json/mrb/mrb_importer.hpp"

#include <pybind11/pybind11.h>
#include <pybind11/stl/filesystem.h>

#include <filesystem>
#include <memory>
#include <string>

namespace py = pybind11;

namespace {

using Result = std::expected<std::shared_ptr<DataSet>, ErrorObject>;

OrError<DatasetObject> datasetOrError(Result&& result)
{
    return value_or_error<DatasetObject>(std::move(result), &dataset_to_python);
}

// Declared as the one class it can be.
template <typename Wanted>
OrError<Wanted> datasetAs(Result&& result)
{
    if (result && !std::dynamic_pointer_cast<Wanted>(*result)) {
        result = std::unexpected(MrbImporter::makeTypeMismatchError());
    }
    return declared<OrError<Wanted>>(datasetOrError(std::move(result)));
}

Result fromMemory(const MrbImporter& importer, const py::bytes& data)
{
    return importer.importFromMemory(std::string(data));
}

template <typename Wanted>
OrError<Wanted> memoryAs(const MrbImporter& importer, const py::bytes& data)
{
    return datasetAs<Wanted>(fromMemory(importer, data));
}

template <typename Wanted>
OrError<Wanted> fileAs(const MrbImporter& importer, const std::filesystem::path& path)
{
    return datasetAs<Wanted>(importer.importFromFile(path));
}

} // namespace

void init_mrb_importer_wrap(py::module_& m)
{
    py::class_<MrbImporter>(
        m, "MrbImporter",
        MARLEK_DOC("Importer of \"With Metadata\" binary dataset snapshot files (\".mrb\").\n\n"
                   "    A snapshot is a self-contained copy of a job result, exported by the device's resource\n"
                   "    browser. A DATASET_DC file yields a DcDataset, a DATASET_AC file an EisDataset. A file of\n"
                   "    an older protocol version is read with the layout of its version; a newer one is rejected\n"
                   "    with PROTOCOL_VERSION_MISMATCH. All failures are reported as ErrorObject values; no\n"
                   "    exceptions are raised."))
        .def(py::init<bool>(), py::arg("ignore_protocol_version_mismatch") = false,
             MARLEK_DOC("If ignore_protocol_version_mismatch is true, files of a newer protocol version than the\n"
                        "    library are imported instead of rejected."))
        .def(
            "import_from_memory",
            [](const MrbImporter& importer, const py::bytes& data) {
                return datasetOrError(fromMemory(importer, data));
            },
            py::arg("data"), MARLEK_DOC("Import a complete snapshot held in memory."))
        .def(
            "import_from_file",
            [](const MrbImporter& importer, const std::filesystem::path& path) {
                return datasetOrError(importer.importFromFile(path));
            },
            py::arg("filename"), MARLEK_DOC("Import a snapshot file."))
        .def("import_from_memory_as_dc_dataset", &memoryAs<DcDataset>, py::arg("data"),
             MARLEK_DOC("As import_from_memory; the snapshot must hold a DC dataset."))
        .def("import_from_file_as_dc_dataset", &fileAs<DcDataset>, py::arg("filename"),
             MARLEK_DOC("As import_from_file; the snapshot must hold a DC dataset."))
        .def("import_from_memory_as_eis_dataset", &memoryAs<EisDataset>, py::arg("data"),
             MARLEK_DOC("As import_from_memory; the snapshot must hold an impedance dataset."))
        .def("import_from_file_as_eis_dataset", &fileAs<EisDataset>, py::arg("filename"),
             MARLEK_DOC("As import_from_file; the snapshot must hold an impedance dataset."))
        .def("set_ignore_protocol_version_mismatch", &MrbImporter::setIgnoreProtocolVersionMismatch,
             py::arg("ignore"),
             MARLEK_DOC("Set the option; files of an older protocol version are imported either way."))
        .def("get_ignore_protocol_version_mismatch", &MrbImporter::getIgnoreProtocolVersionMismatch,
             MARLEK_DOC("True if the protocol version check is disabled."));
}
