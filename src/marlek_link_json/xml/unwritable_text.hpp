#pragma once

#include <optional>
#include <string>

namespace tinyxml2 {
class XMLDocument;
} // namespace tinyxml2

namespace MXml {

// The first attribute value or text of the document, in document order, that
// holds a character XML 1.0 cannot carry (xml_characters.hpp), described for
// a message: "<column> attribute 'name' holds U+0000, which XML 1.0 cannot
// carry", or "the text of <comment> holds the byte 0xFF, which is not UTF-8".
// Such a document would be malformed, or read back changed.
std::optional<std::string> unwritableTextIn(const tinyxml2::XMLDocument& document);

} // namespace MXml
