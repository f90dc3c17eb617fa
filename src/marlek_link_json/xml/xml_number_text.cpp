#include "marlek_link_json/xml/xml_number_text.hpp"

#include "marlek_json_common/json_common/text/number_text.hpp"

#include <tinyxml2.h>

namespace MXml {

void setDoubleText(tinyxml2::XMLElement* element, double value)
{
    element->SetText(numtext::seventeenDigits(value).c_str());
}

void setDoubleAttribute(tinyxml2::XMLElement* element, const char* name, double value)
{
    element->SetAttribute(name, numtext::seventeenDigits(value).c_str());
}

std::optional<double> doubleText(const tinyxml2::XMLElement& element)
{
    const tinyxml2::XMLNode* first = element.FirstChild();
    if (first == nullptr || first->ToText() == nullptr) {
        return std::nullopt;
    }
    return numtext::parseLeadingDouble(first->Value());
}

std::optional<double> doubleAttribute(const tinyxml2::XMLElement& element, const char* name)
{
    const char* value = element.Attribute(name);
    if (value == nullptr) {
        return std::nullopt;
    }
    return numtext::parseLeadingDouble(value);
}

} // namespace MXml
