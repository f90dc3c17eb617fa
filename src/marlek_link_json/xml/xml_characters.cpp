#include "marlek_link_json/xml/xml_characters.hpp"

#include "marlek_json_common/json_common/text/format.hpp"

#include <cstdint>

namespace MXml {

namespace {

bool isContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

bool isXmlCharacter(std::uint32_t code)
{
    return code == 0x09 || code == 0x0A || code == 0x0D || (code >= 0x20 && code <= 0xD7FF)
           || (code >= 0xE000 && code <= 0xFFFD) || (code >= 0x10000 && code <= 0x10FFFF);
}

UnwritableCharacter notXml(std::size_t offset, std::uint32_t code)
{
    return {offset, mfmt::format("U+{:04X}, which XML 1.0 cannot carry", code)};
}

UnwritableCharacter notUtf8(std::size_t offset, unsigned char byte)
{
    return {offset, mfmt::format("the byte 0x{:02X}, which is not UTF-8", byte)};
}

// The sequence length a lead byte announces, and the range its second byte
// must lie in so that the sequence is neither overlong nor beyond U+10FFFF.
// Surrogates (ED A0..BF) are let through and refused by code point.
struct Lead {
    std::size_t length;
    unsigned char low;
    unsigned char high;
};

std::optional<Lead> leadOf(unsigned char byte)
{
    if (byte >= 0xC2 && byte <= 0xDF) {
        return Lead{2, 0x80, 0xBF};
    }
    if (byte == 0xE0) {
        return Lead{3, 0xA0, 0xBF};
    }
    if (byte >= 0xE1 && byte <= 0xEF) {
        return Lead{3, 0x80, 0xBF};
    }
    if (byte == 0xF0) {
        return Lead{4, 0x90, 0xBF};
    }
    if (byte >= 0xF1 && byte <= 0xF3) {
        return Lead{4, 0x80, 0xBF};
    }
    if (byte == 0xF4) {
        return Lead{4, 0x80, 0x8F};
    }
    return std::nullopt;
}

} // namespace

std::optional<UnwritableCharacter> firstUnwritableCharacter(std::string_view text)
{
    const auto byteAt = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    std::size_t i = 0;
    while (i < text.size()) {
        const unsigned char lead = byteAt(i);
        // Numbers and markup, nearly all of a table, take the short way.
        if (lead >= 0x20 && lead < 0x80) {
            ++i;
            continue;
        }
        if (lead < 0x80) {
            if (!isXmlCharacter(lead)) {
                return notXml(i, lead);
            }
            ++i;
            continue;
        }
        if (lead == 0xC0 && i + 1 < text.size() && byteAt(i + 1) == 0x80) {
            return notXml(i, 0);
        }
        const std::optional<Lead> sequence = leadOf(lead);
        if (!sequence || text.size() - i < sequence->length) {
            return notUtf8(i, lead);
        }
        std::uint32_t code = lead & (0xFF >> (sequence->length + 1));
        for (std::size_t k = 1; k < sequence->length; ++k) {
            const unsigned char next = byteAt(i + k);
            const bool fits = k == 1 ? next >= sequence->low && next <= sequence->high : isContinuation(next);
            if (!fits) {
                return notUtf8(i, lead);
            }
            code = (code << 6) | (next & 0x3F);
        }
        if (!isXmlCharacter(code)) {
            return notXml(i, code);
        }
        i += sequence->length;
    }
    return std::nullopt;
}

} // namespace MXml
