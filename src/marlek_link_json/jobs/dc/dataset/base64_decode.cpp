#include "marlek_link_json/jobs/dc/dataset/base64_decode.hpp"

#include "marlek_json_common/json_common/text/base64.hpp"

#include <stdexcept>

std::optional<std::size_t> decodedBase64Size(std::string_view text)
{
    return base64::declaredSize(text);
}

std::vector<std::uint8_t> decodeBase64(const std::string& text)
{
    std::vector<std::uint8_t> bytes;
    if (std::optional<std::string> refusal = base64::decode(text, base64::Policy::UncheckedGroups, bytes)) {
        throw std::runtime_error(*refusal);
    }
    return bytes;
}
