// init_xml_exporter_wrap: ExportOptions and MXmlExporter, which write any
// XmlSerializable as a bare element, as the text of a standalone file, as a
// file on disk, or as an xml.etree.ElementTree element.

#include "marlek_link_py/data_text.hpp"
#include "marlek_link_py/docstring.hpp"
#include "marlek_link_py/init_wrap.hpp"
#include "marlek_link_py/xml_objects.hpp"

#include "marlek_json_common/json_common/logging/error_formatter.hpp"
#include "marlek_link_json/xml/export_options.hpp"
#include "marlek_link_json/xml/mxml_exporter.hpp"
#include "marlek_link_json/xml/xml_format_version.hpp"

#include <pybind11/pybind11.h>
#include <pybind11/stl/filesystem.h>

#include <expected>
#include <filesystem>
#include <memory>
#include <string>

namespace py = pybind11;

namespace {

using MXml::ExportOptions;
using MXml::MXmlExporter;

ExportOptions defaultOptions()
{
    return ExportOptions{"lib_marlek_link", "0.1", false};
}

OrError<py::str> textOrError(std::expected<std::string, ErrorObject>&& result)
{
    return value_or_error<py::str>(std::move(result), [](std::string text) { return py::object(dataText(text)); });
}

NamedType<"xml.etree.ElementTree.Element"> elementTree(const MXmlExporter& exporter, const MXml::XmlSerializable& object, const std::string& comment)
{
    auto text = exporter.serializeAsFileStandalone(object, comment);
    if (!text) {
        throw py::value_error(ErrorFormatters::DefaultErrorFormatter().getFormatted(text.error()));
    }
    return declared<NamedType<"xml.etree.ElementTree.Element">>(
        py::module_::import("xml.etree.ElementTree").attr("fromstring")(dataText(*text)));
}

void registerOptions(py::module_& xml)
{
    py::class_<ExportOptions>(xml, "ExportOptions",
                              MARLEK_DOC("What the exporter writes into a file's information block, and how."))
        .def(py::init(&defaultOptions))
        .def_property("generator", dataTextField(&ExportOptions::generator), textFieldSetter(&ExportOptions::generator),
                      MARLEK_DOC("name of the producing application"))
        .def_property("generator_version", dataTextField(&ExportOptions::generator_version),
                      textFieldSetter(&ExportOptions::generator_version), 
                       MARLEK_DOC("version of the producing application"))
        .def_readwrite("compact_xml", &ExportOptions::compact_xml,
                       MARLEK_DOC("write without indentation and line breaks"));
}

void registerExporter(py::module_& xml)
{
    py::class_<MXmlExporter, std::shared_ptr<MXmlExporter>>(
        xml, "MXmlExporter", MARLEK_DOC("Writes datasets and measurements as XML elements and standalone files."))
        .def(py::init([] { return MXmlExporter(defaultOptions()); }))
        .def(py::init<ExportOptions>(), py::arg("options"))
        .def(py::init<std::string, std::string, bool>(), py::arg("generator"), py::arg("generator_version"),
             py::arg("compact_xml") = false)
        .def("get_options", &MXmlExporter::getOptions, py::return_value_policy::copy,
             MARLEK_DOC("A copy of the options."))
        .def("set_options", &MXmlExporter::setOptions, py::arg("options"), MARLEK_DOC("Replace the options."))
        .def("get_generator", withDataText(&MXmlExporter::getGenerator))
        .def("set_generator", &MXmlExporter::setGenerator, py::arg("generator"))
        .def("get_generator_version", withDataText(&MXmlExporter::getGeneratorVersion))
        .def("set_generator_version", &MXmlExporter::setGeneratorVersion, py::arg("generator_version"))
        .def_static(
            "get_file_version", [] { return MXml::XmlFormatVersion::CURRENT; },
            MARLEK_DOC("The format version written into every standalone file."))
        .def("produces_compact_xml", &MXmlExporter::getCompactXml)
        .def("set_compact_xml", &MXmlExporter::setCompactXml, py::arg("compact_xml") = true)
        .def(
            "serialize",
            [](const MXmlExporter& exporter, const MXml::XmlSerializable& object) {
                return textOrError(exporter.serialize(object));
            },
            py::arg("serializable"),
            MARLEK_DOC("The object's XML element alone: a str, or an ErrorObject on failure."))
        .def(
            "serialize_as_file_standalone",
            [](const MXmlExporter& exporter, const MXml::XmlSerializable& object, const std::string& comment) {
                return textOrError(exporter.serializeAsFileStandalone(object, comment));
            },
            py::arg("serializable"), py::arg("user_comment") = "",
            MARLEK_DOC("The text of a standalone XML file holding the object: a str, or an ErrorObject."))
        .def(
            "save_as_file_standalone",
            [](const MXmlExporter& exporter, const MXml::XmlSerializable& object, const std::filesystem::path& path,
               const std::string& comment) { return exporter.saveAsFileStandalone(object, path, comment); },
            py::arg("serializable"), py::arg("filename"), py::arg("user_comment") = "",
            MARLEK_DOC("Write a standalone XML file; an existing file is replaced only once the new one is\n"
                       "    complete. Returns an ErrorObject, false on success."))
        .def("get_xml_element_tree", &elementTree, py::arg("serializable"), py::arg("user_comment") = "",
             MARLEK_DOC("The standalone file as an xml.etree.ElementTree element; raises ValueError when the\n"
                        "    object cannot be written."));
}

} // namespace

void init_xml_exporter_wrap(py::module_& xml)
{
    registerOptions(xml);
    registerExporter(xml);
}
