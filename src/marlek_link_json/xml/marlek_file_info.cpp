#include "marlek_link_json/xml/marlek_file_info.hpp"

#include "marlek_json_common/json_common/text/number_text.hpp"
#include "marlek_link_json/xml/xml_text.hpp"

#include <tinyxml2.h>

#include <cmath>
#include <limits>

namespace MXml {

namespace {

std::string childText(const tinyxml2::XMLElement* parent, const char* name)
{
    const auto* child = parent->FirstChildElement(name);
    const char* text = child != nullptr ? child->GetText() : nullptr;
    return text != nullptr ? std::string(text) : std::string();
}

void appendText(tinyxml2::XMLElement* parent, const char* name, const std::string& text)
{
    setText(parent->InsertNewChildElement(name), text);
}

} // namespace

MarlekFileInfo::MarlekFileInfo(std::string_view type, std::uint64_t fileVersion, std::string_view creationTimestamp,
                               std::string_view generator, std::string_view generatorVersion,
                               std::string_view comment)
    : type(type),
      file_version(fileVersion),
      creation_timestamp(creationTimestamp),
      generator(generator),
      generator_version(generatorVersion),
      comment(comment)
{
}

void MarlekFileInfo::acceptSerializer(XmlSerializer& serializer) const
{
    auto* element = serializer.document->NewElement(XML_ELEMENT_NAME);
    appendText(element, "type", type);
    element->InsertNewChildElement("file-version")->SetText(file_version);
    appendText(element, "creation-timestamp", creation_timestamp);
    appendText(element, "generator", generator);
    appendText(element, "generator-version", generator_version);
    appendText(element, "comment", comment);
    serializer.element = element;
}

MarlekFileInfo MarlekFileInfo::buildFromXmlElement(const tinyxml2::XMLElement* element)
{
    MarlekFileInfo info;
    if (element == nullptr) {
        return info;
    }
    info.type = childText(element, "type");
    info.file_version = fileVersionFromText(childText(element, "file-version"));
    info.creation_timestamp = childText(element, "creation-timestamp");
    info.generator = childText(element, "generator");
    info.generator_version = childText(element, "generator-version");
    info.comment = childText(element, "comment");
    return info;
}

std::uint64_t MarlekFileInfo::fileVersionFromText(std::string_view text)
{
    // The number that starts the text; one beyond a double's range is none.
    const auto value = numtext::parseDoublePrefix(text);
    if (!value || !(*value > 0.0)) {
        return INVALID_FILE_VERSION;
    }
    const double rounded = std::round(*value);
    // Converting a double beyond the target's range is undefined; such a
    // version is no version we know, so it saturates and the check refuses it.
    constexpr double firstTooLarge = 18446744073709551616.0;
    if (rounded >= firstTooLarge) {
        return std::numeric_limits<std::uint64_t>::max();
    }
    return static_cast<std::uint64_t>(rounded);
}

} // namespace MXml
