#include "marlek_link_json/jobs/dc/dataset/base64_decode.hpp"

#include <array>
#include <stdexcept>

namespace {

constexpr std::uint8_t INVALID = 0xFF;

constexpr std::array<std::uint8_t, 256> makeDecodingTable()
{
    std::array<std::uint8_t, 256> table{};
    table.fill(INVALID);
    constexpr std::string_view alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    for (std::size_t i = 0; i < alphabet.size(); ++i) {
        table[static_cast<unsigned char>(alphabet[i])] = static_cast<std::uint8_t>(i);
    }
    return table;
}

constexpr std::array<std::uint8_t, 256> DECODING_TABLE = makeDecodingTable();

std::uint8_t valueOf(char c)
{
    return DECODING_TABLE[static_cast<unsigned char>(c)];
}

} // namespace

std::optional<std::size_t> decodedBase64Size(std::string_view text)
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

std::vector<std::uint8_t> decodeBase64(const std::string& text)
{
    if (text.size() % 4 != 0) {
        throw std::runtime_error("Invalid Base64 string length.");
    }
    std::vector<std::uint8_t> bytes;
    bytes.reserve(text.size() / 4 * 3);
    for (std::size_t i = 0; i < text.size(); i += 4) {
        const unsigned t0 = valueOf(text[i]);
        const unsigned t1 = valueOf(text[i + 1]);
        const unsigned t2 = valueOf(text[i + 2]);
        const unsigned t3 = valueOf(text[i + 3]);
        bytes.push_back(static_cast<std::uint8_t>((t0 << 2) | (t1 >> 4)));
        if (text[i + 2] != '=') {
            bytes.push_back(static_cast<std::uint8_t>((t1 << 4) | (t2 >> 2)));
        }
        if (text[i + 3] != '=') {
            bytes.push_back(static_cast<std::uint8_t>((t2 << 6) | t3));
        }
    }
    return bytes;
}
