// Feeds arbitrary text to the decoder of base64 file content and compares an
// accepted text with a plain reference decoding of its alphabet characters:
// nothing may be dropped, reordered or invented, and white space is the only
// thing skipped besides trailing padding.

#include "marlek_link_json/jobs/calibration/base64_content.hpp"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace {

int valueOf(char c)
{
    constexpr std::string_view alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    const auto position = alphabet.find(c);
    return position == std::string_view::npos ? -1 : static_cast<int>(position);
}

std::vector<std::byte> reference(std::string_view text)
{
    std::vector<std::byte> bytes;
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
            bytes.push_back(static_cast<std::byte>(bits >> count));
        }
    }
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<std::byte> decoded;
    try {
        decoded = decodeBase64Content(text);
    } catch (const std::runtime_error&) {
        return 0;
    }
    for (const char c : text) {
        if (valueOf(c) < 0 && c != '=' && c != ' ' && c != '\t' && c != '\r' && c != '\n') {
            std::abort();
        }
    }
    if (decoded != reference(text)) {
        std::abort();
    }
    return 0;
}
