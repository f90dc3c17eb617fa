#include "marlek_json_common/json_common/text/base64.hpp"

#include "marlek_json_common/json_common/text/format.hpp"

#include <array>
#include <cstdint>

namespace {

constexpr std::string_view kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

constexpr std::uint8_t kInvalid = 0xFF;
constexpr std::uint8_t kWhiteSpace = 0xFE;
constexpr std::uint8_t kPadding = 0xFD;

// The value of each alphabet character. The unchecked rule reads every
// other byte as kInvalid, the strict one tells white space and padding
// apart from the rest.
constexpr std::array<std::uint8_t, 256> makeTable()
{
    std::array<std::uint8_t, 256> table{};
    table.fill(kInvalid);
    for (std::size_t i = 0; i < kAlphabet.size(); ++i) {
        table[static_cast<unsigned char>(kAlphabet[i])] = static_cast<std::uint8_t>(i);
    }
    for (const char blank : {' ', '\t', '\r', '\n'}) {
        table[static_cast<unsigned char>(blank)] = kWhiteSpace;
    }
    table['='] = kPadding;
    return table;
}

constexpr std::array<std::uint8_t, 256> kTable = makeTable();

base64::detail::RawOutcome refused(std::string_view what, unsigned char byte, std::size_t offset)
{
    return {0, mfmt::format("{} 0x{:02x} at offset {}", what, byte, offset)};
}

base64::detail::RawOutcome decodeStrict(std::string_view text, unsigned char* out)
{
    std::size_t produced = 0;
    std::uint32_t group = 0;
    std::size_t collected = 0;
    std::size_t padding = 0;
    std::size_t lastOffset = 0;
    for (std::size_t offset = 0; offset < text.size(); ++offset) {
        const auto byte = static_cast<unsigned char>(text[offset]);
        const std::uint8_t value = kTable[byte];
        if (value == kWhiteSpace) {
            continue;
        }
        if (value == kInvalid) {
            return refused("invalid base64 byte", byte, offset);
        }
        if (value == kPadding) {
            // Padding completes a group of two or three characters, to four.
            if (collected < 2 || collected + padding >= 4) {
                return refused("misplaced base64 padding", byte, offset);
            }
            ++padding;
            continue;
        }
        if (padding != 0) {
            return refused("base64 data after padding", byte, offset);
        }
        group = (group << 6) | value;
        lastOffset = offset;
        if (++collected == 4) {
            out[produced++] = static_cast<unsigned char>(group >> 16);
            out[produced++] = static_cast<unsigned char>(group >> 8);
            out[produced++] = static_cast<unsigned char>(group);
            group = 0;
            collected = 0;
        }
    }
    // Six bits make no byte: a lone last character is what is left of a
    // text cut short, never the end of an encoding.
    if (collected == 1) {
        return refused("lone last base64 character", static_cast<unsigned char>(text[lastOffset]), lastOffset);
    }
    // The unused low bits of the last character are dropped.
    if (collected == 2) {
        out[produced++] = static_cast<unsigned char>(group >> 4);
    } else if (collected == 3) {
        out[produced++] = static_cast<unsigned char>(group >> 10);
        out[produced++] = static_cast<unsigned char>(group >> 2);
    }
    return {produced, std::nullopt};
}

base64::detail::RawOutcome decodeUncheckedGroups(std::string_view text, unsigned char* out)
{
    if (text.size() % 4 != 0) {
        return {0, "Invalid Base64 string length."};
    }
    // White space and padding read as kInvalid, as every other stray byte.
    const auto valueOf = [](char c) -> unsigned {
        const std::uint8_t value = kTable[static_cast<unsigned char>(c)];
        return value < kAlphabet.size() ? value : kInvalid;
    };
    std::size_t produced = 0;
    for (std::size_t i = 0; i < text.size(); i += 4) {
        const unsigned t0 = valueOf(text[i]);
        const unsigned t1 = valueOf(text[i + 1]);
        const unsigned t2 = valueOf(text[i + 2]);
        const unsigned t3 = valueOf(text[i + 3]);
        out[produced++] = static_cast<unsigned char>((t0 << 2) | (t1 >> 4));
        if (text[i + 2] != '=') {
            out[produced++] = static_cast<unsigned char>((t1 << 4) | (t2 >> 2));
        }
        if (text[i + 3] != '=') {
            out[produced++] = static_cast<unsigned char>((t2 << 6) | t3);
        }
    }
    return {produced, std::nullopt};
}

} // namespace

namespace base64 {

std::string encode(std::string_view bytes)
{
    std::string text;
    text.reserve((bytes.size() + 2) / 3 * 4);
    const auto byteAt = [&](std::size_t i) -> std::uint32_t { return static_cast<unsigned char>(bytes[i]); };
    std::size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3) {
        const std::uint32_t group = (byteAt(i) << 16) | (byteAt(i + 1) << 8) | byteAt(i + 2);
        text.push_back(kAlphabet[(group >> 18) & 63]);
        text.push_back(kAlphabet[(group >> 12) & 63]);
        text.push_back(kAlphabet[(group >> 6) & 63]);
        text.push_back(kAlphabet[group & 63]);
    }
    const std::size_t rest = bytes.size() - i;
    if (rest != 0) {
        const std::uint32_t group = (byteAt(i) << 16) | (rest == 2 ? byteAt(i + 1) << 8 : 0);
        text.push_back(kAlphabet[(group >> 18) & 63]);
        text.push_back(kAlphabet[(group >> 12) & 63]);
        text.push_back(rest == 2 ? kAlphabet[(group >> 6) & 63] : '=');
        text.push_back('=');
    }
    return text;
}

std::optional<std::size_t> declaredSize(std::string_view text)
{
    if (text.size() % 4 != 0) {
        return std::nullopt;
    }
    if (text.empty()) {
        return 0;
    }
    std::size_t size = text.size() / 4 * 3;
    if (text.ends_with("==")) {
        size -= 2;
    } else if (text.back() == '=') {
        size -= 1;
    }
    return size;
}

namespace detail {

RawOutcome decodeInto(std::string_view text, Policy policy, unsigned char* out)
{
    return policy == Policy::Strict ? decodeStrict(text, out) : decodeUncheckedGroups(text, out);
}

} // namespace detail

} // namespace base64
