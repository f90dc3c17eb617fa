// init_xml_wrap: the standalone XML file format as Python sees it: the format
// versions, the base of everything that can be written as XML, the result of
// an import, the file's information block, and the measurement payload.

#include "marlek_link_py/data_text.hpp"
#include "marlek_link_py/docstring.hpp"
#include "marlek_link_py/init_wrap.hpp"
#include "marlek_link_py/py_imported_file.hpp"
#include "marlek_link_py/xml_objects.hpp"

#include "marlek_link_json/jobs/ac/dataset/eis_dataset.hpp"
#include "marlek_link_json/jobs/dc/dataset/dc_dataset.hpp"
#include "marlek_link_json/xml/marlek_file_info.hpp"
#include "marlek_link_json/xml/measurement.hpp"
#include "marlek_link_json/xml/xml_format_version.hpp"
#include "marlek_link_json/xml/xml_serializable.hpp"

#include <pybind11/pybind11.h>

#include <cstdint>
#include <memory>
#include <string>
#include <utility>

namespace py = pybind11;

namespace {

void registerFormatVersion(py::module_& xml)
{
    py::class_<MXml::XmlFormatVersion>(xml, "XmlFormatVersion",
                                       MARLEK_DOC("Format versions of standalone XML files."))
        .def_property_readonly_static(
            "CURRENT", [](const py::object&) { return MXml::XmlFormatVersion::CURRENT; },
            MARLEK_DOC("the version the exporter writes"))
        .def_property_readonly_static(
            "MINIMUM_SUPPORTED", [](const py::object&) { return MXml::XmlFormatVersion::MINIMUM_SUPPORTED; },
            MARLEK_DOC("the oldest version the importer reads"))
        .def_static(
            "is_supported",
            [](std::uint64_t rawVersion) { return MXml::XmlFormatVersion::checkSupported(rawVersion, "").has_value(); },
            py::arg("raw_version"), MARLEK_DOC("Whether the importer reads files of this format version."))
        .def_static("supported_range", &MXml::XmlFormatVersion::supportedRange,
                    MARLEK_DOC("The supported versions as text, oldest..newest."));
}

void registerImportedFile(py::module_& xml)
{
    py::class_<PyImportedFile>(xml, "ImportedFile", MARLEK_DOC("An imported object with its file information."))
        .def_property_readonly(
            "object", [](const PyImportedFile& file) { return xml_object_to_python(file.object); },
            MARLEK_DOC("the imported object: a Measurement, DcDataset or EisDataset"))
        .def_readonly("file_info", &PyImportedFile::file_info,
                      MARLEK_DOC("the file's information block; changes to it stay with this ImportedFile"));
}

void registerFileInfo(py::module_& xml)
{
    using MXml::MarlekFileInfo;
    py::class_<MarlekFileInfo, MXml::XmlSerializable, std::shared_ptr<MarlekFileInfo>>(
        xml, "MarlekFileInfo", MARLEK_DOC("The information block at the head of a standalone XML file."))
        .def(py::init<>())
        .def_property_readonly_static(
            "XML_ELEMENT_NAME", [](const py::object&) { return std::string(MarlekFileInfo::XML_ELEMENT_NAME); },
            MARLEK_DOC("element name of the block"))
        .def_property_readonly_static(
            "INVALID_FILE_VERSION", [](const py::object&) { return MarlekFileInfo::INVALID_FILE_VERSION; },
            MARLEK_DOC("the version of a block that states none"))
        .def_property("type", dataTextField(&MarlekFileInfo::type), textFieldSetter(&MarlekFileInfo::type),
                      MARLEK_DOC("element name of the file's payload"))
        .def_readwrite("file_version", &MarlekFileInfo::file_version, MARLEK_DOC("format version of the file"))
        .def_property("creation_timestamp", dataTextField(&MarlekFileInfo::creation_timestamp),
                      textFieldSetter(&MarlekFileInfo::creation_timestamp), 
                       MARLEK_DOC("when the file was written"))
        .def_property("generator", dataTextField(&MarlekFileInfo::generator),
                      textFieldSetter(&MarlekFileInfo::generator), MARLEK_DOC("name of the writing program"))
        .def_property("generator_version", dataTextField(&MarlekFileInfo::generator_version),
                      textFieldSetter(&MarlekFileInfo::generator_version), 
                       MARLEK_DOC("version of the writing program"))
        .def_property("comment", dataTextField(&MarlekFileInfo::comment), textFieldSetter(&MarlekFileInfo::comment),
                      MARLEK_DOC("free comment"));
}

} // namespace

void init_xml_wrap(py::module_& xml)
{
    registerFormatVersion(xml);
    py::class_<MXml::XmlSerializable, std::shared_ptr<MXml::XmlSerializable>>(
        xml, "XmlSerializable", MARLEK_DOC("Base of every object that can be written as XML."));
    registerImportedFile(xml);
    registerFileInfo(xml);
    register_measurement(xml);
}
