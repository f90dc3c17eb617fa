#pragma once

#include "marlek_json_common/json_common/logging/error_object.hpp"
#include "marlek_link_json/xml/export_options.hpp"
#include "marlek_link_json/xml/xml_serializable.hpp"

#include <expected>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace tinyxml2 {
class XMLDocument;
class XMLElement;
} // namespace tinyxml2

namespace MXml {

// Writes objects as XML: the bare element, or a standalone file (declaration,
// root, information block, payload) as text or on disk. Each call builds a
// document of its own; files are always written in the current format
// version.
//
// Every operation refuses, before anything is written, an object that would
// not read back as itself: one whose readBackProblem names a reason, or whose
// document holds a text XML 1.0 cannot carry (a NUL or another control
// character, U+FFFE, U+FFFF, a surrogate, bytes that are not UTF-8), in the
// object or in the information block. The error is RESOURCE_CONTENT_INVALID
// "the object would not read back from its XML: " and the reason.
class MXmlExporter {
public:
    explicit MXmlExporter(ExportOptions options = {});
    MXmlExporter(std::string generator, std::string generatorVersion, bool compactXml);

    const ExportOptions& getOptions() const;
    void setOptions(ExportOptions options);
    const std::string& getGenerator() const;
    void setGenerator(std::string generator);
    const std::string& getGeneratorVersion() const;
    void setGeneratorVersion(std::string generatorVersion);
    bool getCompactXml() const;
    void setCompactXml(bool compactXml);

    std::expected<std::string, ErrorObject> serialize(const XmlSerializable& object) const;
    std::expected<std::string, ErrorObject> serialize(const std::shared_ptr<XmlSerializable>& object) const;

    std::expected<std::string, ErrorObject> serializeAsFileStandalone(const XmlSerializable& object,
                                                                      std::string_view comment) const;
    std::expected<std::string, ErrorObject> serializeAsFileStandalone(const std::shared_ptr<XmlSerializable>& object,
                                                                      std::string_view comment) const;

    // Replaces the file only once the new content is completely written; on
    // failure an existing file keeps its old content. Missing parent folders
    // are created.
    ErrorObject saveAsFileStandalone(const XmlSerializable& object, const std::filesystem::path& path,
                                     std::string_view comment) const;
    ErrorObject saveAsFileStandalone(const std::shared_ptr<XmlSerializable>& object,
                                     const std::filesystem::path& path, std::string_view comment) const;

    // Makes the document a standalone file around `payload`, an element of
    // the document not yet inserted anywhere; returns the payload.
    tinyxml2::XMLElement* wrapXmlForStandalone(tinyxml2::XMLDocument& document, tinyxml2::XMLElement* payload,
                                               std::string_view comment) const;

    // The local time now, ISO 8601 extended, with six digits of microseconds
    // unless they are zero.
    static std::string getCurrentTimeString();

private:
    ExportOptions options;
};

} // namespace MXml
