#pragma once

#include "marlek_link_json/xml/xml_serializable.hpp"

#include <cstdint>
#include <string>
#include <string_view>

namespace MXml {

// The information block at the head of a standalone XML file.
class MarlekFileInfo : public XmlSerializable {
public:
    static constexpr const char* XML_ELEMENT_NAME = "marlek-fileinfo";
    static constexpr std::uint64_t INVALID_FILE_VERSION = 0;

    MarlekFileInfo() = default;
    MarlekFileInfo(std::string_view type, std::uint64_t fileVersion, std::string_view creationTimestamp,
                   std::string_view generator, std::string_view generatorVersion, std::string_view comment);

    void acceptSerializer(XmlSerializer& serializer) const override;

    // Never fails: a missing child gives an empty text, an unreadable version
    // INVALID_FILE_VERSION.
    static MarlekFileInfo buildFromXmlElement(const tinyxml2::XMLElement* element);

    // The version text as a number: rounded to the nearest integer (halves
    // away from zero) when above 0, else 0; a value too large for the type
    // gives its largest value, which no version check accepts.
    static std::uint64_t fileVersionFromText(std::string_view text);

    friend bool operator==(const MarlekFileInfo& a, const MarlekFileInfo& b)
    {
        return a.type == b.type && a.file_version == b.file_version && a.creation_timestamp == b.creation_timestamp
            && a.generator == b.generator && a.generator_version == b.generator_version && a.comment == b.comment;
    }

    std::string type;
    std::uint64_t file_version = INVALID_FILE_VERSION;
    std::string creation_timestamp;
    std::string generator;
    std::string generator_version;
    std::string comment;
};

} // namespace MXml
