#include "marlek_json_common/json_common/text/format.hpp"

#include <array>
#include <charconv>

namespace mfmt {

std::string shortestDouble(double value)
{
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), result.ptr);
}

} // namespace mfmt
