#include "marlek_link_json/jobs/ac/impedance_record_xml.hpp"

#include <cctype>
#include <string_view>

namespace impedance_record_xml {

const char* driftCorrectionText(DriftCorrection value)
{
    switch (value) {
    case DriftCorrection::DC_ONLY:
        return "DC_ONLY";
    case DriftCorrection::OFF:
        return "OFF";
    default:
        return "FULL";
    }
}

std::optional<DriftCorrection> readDriftCorrection(const tinyxml2::XMLElement& element)
{
    const char* text = element.GetText();
    if (text == nullptr) {
        return std::nullopt;
    }
    const std::string_view name(text);
    if (name == "FULL") {
        return DriftCorrection::FULL;
    }
    if (name == "DC_ONLY") {
        return DriftCorrection::DC_ONLY;
    }
    if (name == "OFF") {
        return DriftCorrection::OFF;
    }
    return std::nullopt;
}

std::uint64_t readCount(const tinyxml2::XMLElement& element)
{
    const char* text = element.GetText();
    if (text == nullptr) {
        return 0;
    }
    while (std::isspace(static_cast<unsigned char>(*text)) != 0) {
        ++text;
    }
    if (*text == '-') {
        return 0;
    }
    std::uint64_t value = 0;
    return element.QueryUnsigned64Text(&value) == tinyxml2::XML_SUCCESS ? value : 0;
}

double readDouble(const tinyxml2::XMLElement& element)
{
    return MXml::doubleText(element).value_or(0.0);
}

} // namespace impedance_record_xml
