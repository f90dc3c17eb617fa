#include "marlek_link_json/xml/xml_text.hpp"

#include <tinyxml2.h>

namespace MXml {

std::string carriedText(std::string_view text)
{
    std::string carried;
    carried.reserve(text.size());
    for (const char c : text) {
        if (c == '\0') {
            carried += "\xC0\x80";
        } else {
            carried += c;
        }
    }
    return carried;
}

void setText(tinyxml2::XMLElement* element, std::string_view text)
{
    element->SetText(carriedText(text).c_str());
}

void setAttribute(tinyxml2::XMLElement* element, const char* name, std::string_view value)
{
    element->SetAttribute(name, carriedText(value).c_str());
}

} // namespace MXml
