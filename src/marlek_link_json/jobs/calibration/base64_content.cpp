#include "marlek_link_json/jobs/calibration/base64_content.hpp"

#include "marlek_json_common/json_common/text/format.hpp"

#include <array>
#include <cstdint>
#include <stdexcept>

namespace {

constexpr std::uint8_t INVALID = 0xFF;
constexpr std::uint8_t WHITESPACE = 0xFE;
constexpr std::uint8_t PADDING = 0xFD;

constexpr std::array<std::uint8_t, 256> makeTable()
{
    std::array<std::uint8_t, 256> table{};
    table.fill(INVALID);
    constexpr std::string_view alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    for (std::size_t i = 0; i < alphabet.size(); ++i) {
        table[static_cast<unsigned char>(alphabet[i])] = static_cast<std::uint8_t>(i);
    }
    for (const char blank : {' ', '\t', '\r', '\n'}) {
        table[static_cast<unsigned char>(blank)] = WHITESPACE;
    }
    table['='] = PADDING;
    return table;
}

constexpr std::array<std::uint8_t, 256> TABLE = makeTable();

[[noreturn]] void fail(std::string_view what, unsigned char byte, std::size_t offset)
{
    throw std::runtime_error(mfmt::format("{} 0x{:02x} at offset {}", what, byte, offset));
}

} // namespace

std::vector<std::byte> decodeBase64Content(std::string_view text)
{
    std::vector<std::byte> bytes(text.size() / 4 * 3 + (text.size() % 4 != 0 ? 3 : 0));
    std::size_t produced = 0;
    std::uint32_t group = 0;
    std::size_t collected = 0;
    std::size_t padding = 0;

    for (std::size_t offset = 0; offset < text.size(); ++offset) {
        const auto byte = static_cast<unsigned char>(text[offset]);
        const std::uint8_t value = TABLE[byte];
        if (value == WHITESPACE) {
            continue;
        }
        if (value == INVALID) {
            fail("invalid base64 byte", byte, offset);
        }
        if (value == PADDING) {
            // Padding completes a group of two or three characters, to four.
            if (collected < 2 || collected + padding >= 4) {
                fail("misplaced base64 padding", byte, offset);
            }
            ++padding;
            continue;
        }
        if (padding != 0) {
            fail("base64 data after padding", byte, offset);
        }
        group = (group << 6) | value;
        if (++collected == 4) {
            bytes[produced++] = static_cast<std::byte>(group >> 16);
            bytes[produced++] = static_cast<std::byte>(group >> 8);
            bytes[produced++] = static_cast<std::byte>(group);
            group = 0;
            collected = 0;
        }
    }

    // A last group of two or three characters gives one or two bytes; the
    // unused low bits are dropped. A single character gives nothing.
    if (collected == 2) {
        bytes[produced++] = static_cast<std::byte>(group >> 4);
    } else if (collected == 3) {
        bytes[produced++] = static_cast<std::byte>(group >> 10);
        bytes[produced++] = static_cast<std::byte>(group >> 2);
    }
    bytes.resize(produced);
    return bytes;
}
