// Reads arbitrary bytes as a number the way the readers of XML numbers and
// spectrum keys do, and checks the result against the C library's strtod in
// the "C" locale, which those readers stand in for; whole-text numbers must
// read back from their own text.

#include "marlek_json_common/json_common/text/number_text.hpp"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    double value = 0.0;
    const auto result = numtext::scanDouble(text, value);

    // strtod stops at the first NUL; so must the comparison.
    const std::string cText = text.c_str();
    char* end = nullptr;
    const double expected = std::strtod(cText.c_str(), &end);
    const auto expectedLength = static_cast<std::size_t>(end - cText.c_str());
    if (cText.size() == text.size()) {
        const auto length = static_cast<std::size_t>(result.ptr - text.data());
        const bool sameValue = expectedLength == 0 || (std::isnan(value) && std::isnan(expected))
                               || std::memcmp(&value, &expected, sizeof value) == 0;
        if (length != expectedLength || !sameValue) {
            std::abort();
        }
    }

    if (const auto whole = numtext::parseDouble(text); whole && !std::isnan(*whole)) {
        const auto again = numtext::parseDouble(numtext::seventeenDigits(*whole));
        const auto shortest = numtext::parseDouble(numtext::shortest(*whole));
        if (!again || *again != *whole || !shortest || *shortest != *whole) {
            std::abort();
        }
    }
    return 0;
}
