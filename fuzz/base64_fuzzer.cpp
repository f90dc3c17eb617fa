// Feeds arbitrary text to both decoding policies and arbitrary bytes to the
// encoder. A text the strict policy accepts must decode like a plain
// reference decoding of its alphabet characters: nothing dropped, reordered
// or invented, white space the only thing skipped besides trailing padding,
// and never a lone last character.
// The unchecked policy must produce what its group arithmetic says, and
// every encoding must come back unchanged under both.

#include "marlek_json_common/json_common/text/base64.hpp"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

constexpr std::string_view kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int valueOf(char c)
{
    const auto position = kAlphabet.find(c);
    return position == std::string_view::npos ? -1 : static_cast<int>(position);
}

bool isWhiteSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string strictReference(std::string_view text)
{
    std::string bytes;
    std::uint32_t bits = 0;
    int count = 0;
    for (const char c : text) {
        const int value = valueOf(c);
        if (value < 0) {
            continue;
        }
        bits = (bits << 6) | static_cast<std::uint32_t>(value);
        count += 6;
        if (count >= 8) {
            count -= 8;
            bytes.push_back(static_cast<char>(bits >> count));
        }
    }
    return bytes;
}

std::string uncheckedReference(std::string_view text)
{
    const auto value = [](char c) -> unsigned {
        const int v = valueOf(c);
        return v < 0 ? 0xFF : static_cast<unsigned>(v);
    };
    std::string bytes;
    for (std::size_t i = 0; i + 4 <= text.size(); i += 4) {
        bytes.push_back(static_cast<char>((value(text[i]) << 2) | (value(text[i + 1]) >> 4)));
        if (text[i + 2] != '=') {
            bytes.push_back(static_cast<char>((value(text[i + 1]) << 4) | (value(text[i + 2]) >> 2)));
        }
        if (text[i + 3] != '=') {
            bytes.push_back(static_cast<char>((value(text[i + 2]) << 6) | value(text[i + 3])));
        }
    }
    return bytes;
}

void checkStrict(std::string_view text)
{
    std::string decoded;
    if (base64::decode(text, base64::Policy::Strict, decoded)) {
        if (!decoded.empty()) {
            std::abort();
        }
        return;
    }
    std::size_t characters = 0;
    for (const char c : text) {
        if (valueOf(c) < 0 && c != '=' && !isWhiteSpace(c)) {
            std::abort();
        }
        characters += valueOf(c) >= 0 ? 1 : 0;
    }
    // A lone last character is a text cut short: it is never accepted.
    if (characters % 4 == 1) {
        std::abort();
    }
    if (decoded != strictReference(text)) {
        std::abort();
    }
}

void checkUnchecked(std::string_view text)
{
    std::string decoded;
    const bool refused = base64::decode(text, base64::Policy::UncheckedGroups, decoded).has_value();
    if (refused != (text.size() % 4 != 0)) {
        std::abort();
    }
    if (!refused && decoded != uncheckedReference(text)) {
        std::abort();
    }
}

void checkRoundTrip(std::string_view bytes)
{
    const std::string text = base64::encode(bytes);
    if (text.size() != (bytes.size() + 2) / 3 * 4) {
        std::abort();
    }
    for (const base64::Policy policy : {base64::Policy::Strict, base64::Policy::UncheckedGroups}) {
        std::string decoded;
        if (base64::decode(text, policy, decoded) || decoded != bytes) {
            std::abort();
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    checkStrict(input);
    checkUnchecked(input);
    checkRoundTrip(input);
    return 0;
}
