#include "marlek_link_json/xml/mxml_exporter.hpp"

#include "marlek_link_json/atomic_file_writer.hpp"
#include "marlek_link_json/xml/marlek_file_info.hpp"
#include "marlek_link_json/xml/unwritable_text.hpp"
#include "marlek_link_json/xml/xml_format_version.hpp"
#include "marlek_link_json/xml/xml_text_printer.hpp"

#include <boost/date_time/posix_time/posix_time.hpp>
#include <tinyxml2.h>

#include <exception>
#include <new>
#include <system_error>
#include <utility>

namespace MXml {

namespace {

const char* const XML_DECLARATION = "xml version=\"1.0\" encoding=\"utf-8\" standalone=\"yes\"";

ErrorObject nullSerializable()
{
    return ErrorObject(ErrorCodeEnum::RESOURCE_CONTENT_INVALID, "resource content invalid: {0}",
                       "nothing to serialize: the serializable is a null pointer");
}

ErrorObject notReadableBack(const std::string& problem)
{
    return ErrorObject(ErrorCodeEnum::RESOURCE_CONTENT_INVALID, "resource content invalid: {0}",
                       "the object would not read back from its XML: " + problem);
}

ErrorObject outOfMemory()
{
    return ErrorObject(ErrorCodeEnum::OUT_OF_MEMORY, "out of memory");
}

ErrorObject unexpected(const std::exception& e)
{
    return ErrorObject(ErrorCodeEnum::UNEXPECTED_EXCEPTION, "an unexpected exception occured: {0}",
                       std::string(e.what()));
}

std::string printed(const tinyxml2::XMLDocument& document, bool compact)
{
    XmlTextPrinter printer(compact);
    document.Print(&printer);
    return std::string(printer.CStr(), static_cast<std::size_t>(printer.CStrSize() - 1));
}

std::expected<std::string, ErrorObject> printedOrError(const tinyxml2::XMLDocument& document, bool compact)
{
    try {
        return printed(document, compact);
    } catch (const std::bad_alloc&) {
        return std::unexpected(outOfMemory());
    } catch (const std::exception& e) {
        return std::unexpected(unexpected(e));
    }
}

tinyxml2::XMLElement* visit(const XmlSerializable& object, tinyxml2::XMLDocument& document)
{
    XmlSerializer serializer{&document, nullptr};
    object.acceptSerializer(serializer);
    return serializer.element;
}

// Creates the missing folders above the file. A parent that exists, or that
// cannot exist because a regular file stands in its path, is left alone:
// opening the file then reports that it cannot be opened.
void createMissingParents(const std::filesystem::path& path)
{
    const std::filesystem::path parent = path.parent_path();
    if (parent.empty()) {
        return;
    }
    std::error_code ec;
    const auto status = std::filesystem::status(parent, ec);
    if (status.type() == std::filesystem::file_type::none) {
        throw std::filesystem::filesystem_error("cannot read the status of the folder", parent, ec);
    }
    if (status.type() == std::filesystem::file_type::not_found && ec != std::errc::not_a_directory) {
        std::filesystem::create_directories(parent);
    }
}

// The texts of the file errors are the ones callers have always seen; the
// system's reason, which tells a full disk from a missing permission, follows
// as a further parameter.
ErrorObject writeReplacing(const std::filesystem::path& path, const std::string& text)
{
    AtomicFileWriter writer(path);
    if (writer.open().getErrorCodeEnum() != ErrorCodeEnum::NONE) {
        return ErrorObject(ErrorCodeEnum::FILE_COULD_NOT_BE_OPENED, "file '{0}' could not be opened: {1}",
                           path.string(), "could not open the file for writing", writer.failureReason());
    }
    ErrorObject committed = writer.commit(text.data(), text.size());
    if (committed.getErrorCodeEnum() == ErrorCodeEnum::NONE || writer.replaced()) {
        return committed;
    }
    return ErrorObject(ErrorCodeEnum::FILE_COULD_NOT_BE_WRITTEN, "file '{0}' could not be written: {1}",
                       path.string(), "an error occurred while writing the file", writer.failureReason());
}

} // namespace

MXmlExporter::MXmlExporter(ExportOptions options) : options(std::move(options)) {}

MXmlExporter::MXmlExporter(std::string generator, std::string generatorVersion, bool compactXml)
    : options{std::move(generator), std::move(generatorVersion), compactXml}
{
}

const ExportOptions& MXmlExporter::getOptions() const
{
    return options;
}

void MXmlExporter::setOptions(ExportOptions newOptions)
{
    options = std::move(newOptions);
}

const std::string& MXmlExporter::getGenerator() const
{
    return options.generator;
}

void MXmlExporter::setGenerator(std::string generator)
{
    options.generator = std::move(generator);
}

const std::string& MXmlExporter::getGeneratorVersion() const
{
    return options.generator_version;
}

void MXmlExporter::setGeneratorVersion(std::string generatorVersion)
{
    options.generator_version = std::move(generatorVersion);
}

bool MXmlExporter::getCompactXml() const
{
    return options.compact_xml;
}

void MXmlExporter::setCompactXml(bool compactXml)
{
    options.compact_xml = compactXml;
}

std::expected<std::string, ErrorObject> MXmlExporter::serialize(const XmlSerializable& object) const
{
    if (auto problem = object.readBackProblem()) {
        return std::unexpected(notReadableBack(*problem));
    }
    tinyxml2::XMLDocument document(true, tinyxml2::PRESERVE_WHITESPACE);
    document.InsertEndChild(visit(object, document));
    if (auto problem = unwritableTextIn(document)) {
        return std::unexpected(notReadableBack(*problem));
    }
    return printedOrError(document, options.compact_xml);
}

std::expected<std::string, ErrorObject> MXmlExporter::serialize(const std::shared_ptr<XmlSerializable>& object) const
{
    if (!object) {
        return std::unexpected(nullSerializable());
    }
    return serialize(*object);
}

std::expected<std::string, ErrorObject> MXmlExporter::serializeAsFileStandalone(const XmlSerializable& object,
                                                                                std::string_view comment) const
{
    if (auto problem = object.readBackProblem()) {
        return std::unexpected(notReadableBack(*problem));
    }
    tinyxml2::XMLDocument document(true, tinyxml2::PRESERVE_WHITESPACE);
    wrapXmlForStandalone(document, visit(object, document), comment);
    if (auto problem = unwritableTextIn(document)) {
        return std::unexpected(notReadableBack(*problem));
    }
    return printedOrError(document, options.compact_xml);
}

std::expected<std::string, ErrorObject>
MXmlExporter::serializeAsFileStandalone(const std::shared_ptr<XmlSerializable>& object, std::string_view comment) const
{
    if (!object) {
        return std::unexpected(nullSerializable());
    }
    return serializeAsFileStandalone(*object, comment);
}

ErrorObject MXmlExporter::saveAsFileStandalone(const XmlSerializable& object, const std::filesystem::path& path,
                                               std::string_view comment) const
{
    if (auto problem = object.readBackProblem()) {
        return notReadableBack(*problem);
    }
    tinyxml2::XMLDocument document(true, tinyxml2::PRESERVE_WHITESPACE);
    wrapXmlForStandalone(document, visit(object, document), comment);
    // Before anything is written: an existing file keeps its content.
    if (auto problem = unwritableTextIn(document)) {
        return notReadableBack(*problem);
    }
    try {
        createMissingParents(path);
        return writeReplacing(path, printed(document, options.compact_xml));
    } catch (const std::bad_alloc&) {
        return outOfMemory();
    } catch (const std::filesystem::filesystem_error& e) {
        return ErrorObject(ErrorCodeEnum::FILE_COULD_NOT_BE_WRITTEN, "file '{0}' could not be written: {1}",
                           path.string(), std::string(e.what()), e.code().message());
    } catch (const std::exception& e) {
        return unexpected(e);
    }
}

ErrorObject MXmlExporter::saveAsFileStandalone(const std::shared_ptr<XmlSerializable>& object,
                                               const std::filesystem::path& path, std::string_view comment) const
{
    if (!object) {
        return nullSerializable();
    }
    return saveAsFileStandalone(*object, path, comment);
}

tinyxml2::XMLElement* MXmlExporter::wrapXmlForStandalone(tinyxml2::XMLDocument& document,
                                                         tinyxml2::XMLElement* payload,
                                                         std::string_view comment) const
{
    tinyxml2::XMLDeclaration* declaration = document.NewDeclaration(XML_DECLARATION);
    document.InsertFirstChild(declaration);
    tinyxml2::XMLElement* root = document.NewElement(payload->Name());
    document.InsertAfterChild(declaration, root);

    const MarlekFileInfo info(payload->Name(), XmlFormatVersion::CURRENT, getCurrentTimeString(), options.generator,
                              options.generator_version, comment);
    root->InsertEndChild(visit(info, document));
    root->InsertEndChild(payload);
    return payload;
}

std::string MXmlExporter::getCurrentTimeString()
{
    return boost::posix_time::to_iso_extended_string(boost::posix_time::microsec_clock::local_time());
}

} // namespace MXml
