#pragma once
// Which texts an XML 1.0 document can hold. Its characters are TAB, LF, CR,
// U+0020 to U+D7FF, U+E000 to U+FFFD and U+10000 to U+10FFFF, encoded here
// as UTF-8; anything else makes the document malformed for every standard
// parser, or comes back changed.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace MXml {

struct UnwritableCharacter {
    // Where it starts in the text, in bytes.
    std::size_t offset = 0;
    // What stands there, for a message: "U+000B, which XML 1.0 cannot carry",
    // or "the byte 0xFF, which is not UTF-8".
    std::string description;
};

// The first character of `text` that an XML 1.0 document cannot hold, or the
// first byte that starts no UTF-8 sequence. A surrogate encoded in UTF-8 is
// named by its code point, and so is C0 80, the overlong form in which the
// library's text setters carry a NUL (xml_text.hpp).
std::optional<UnwritableCharacter> firstUnwritableCharacter(std::string_view text);

} // namespace MXml
