#pragma once
// Texts of the library's data into XML elements. The XML library takes every
// text as a C string, so a NUL would end it there and drop the rest without a
// word. These setters hand each NUL on as C0 80, its overlong two-byte form:
// no XML document may hold that, and the exporter, which checks every text
// before it writes (xml_characters.hpp), names it as U+0000 and refuses the
// object instead of saving a shortened text.

#include <string>
#include <string_view>

namespace tinyxml2 {
class XMLElement;
} // namespace tinyxml2

namespace MXml {

// `text` with every NUL replaced by C0 80.
std::string carriedText(std::string_view text);

void setText(tinyxml2::XMLElement* element, std::string_view text);
void setAttribute(tinyxml2::XMLElement* element, const char* name, std::string_view value);

} // namespace MXml
