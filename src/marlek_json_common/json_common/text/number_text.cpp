#include "marlek_json_common/json_common/text/number_text.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

namespace numtext {

namespace {

// Long enough for "-1.2345678901234567e-308" and every shortest text.
using Digits = std::array<char, 40>;

std::string_view seventeenDigitsView(double value, Digits& buffer)
{
    if (std::isnan(value)) {
        return "nan";
    }
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::general, 17);
    return std::string_view(buffer.data(), static_cast<std::size_t>(result.ptr - buffer.data()));
}

bool isHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool isWhiteSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Whether a number that does not fit a double is too large rather than too
// small: the position of its first significant digit (in digits, or in bits
// for hexadecimal) plus its exponent is above zero.
bool isTooLarge(std::string_view number, bool hex)
{
    const auto isExponentMark = [hex](char c) { return hex ? c == 'p' || c == 'P' : c == 'e' || c == 'E'; };
    std::int64_t integerDigits = 0;
    std::int64_t zerosAfterPoint = 0;
    bool afterPoint = false;
    bool significant = false;
    std::size_t i = 0;
    for (; i < number.size() && !isExponentMark(number[i]); ++i) {
        if (number[i] == '.') {
            afterPoint = true;
        } else if (!significant && number[i] == '0') {
            zerosAfterPoint += afterPoint ? 1 : 0;
        } else {
            significant = true;
            integerDigits += afterPoint ? 0 : 1;
        }
    }
    if (!significant) {
        return false;
    }
    // Capped well beyond any double's range so that the sum cannot overflow.
    constexpr std::int64_t cap = 1'000'000'000;
    std::int64_t exponent = 0;
    bool negativeExponent = false;
    if (++i < number.size() && (number[i] == '-' || number[i] == '+')) {
        negativeExponent = number[i] == '-';
        ++i;
    }
    for (; i < number.size() && number[i] >= '0' && number[i] <= '9'; ++i) {
        exponent = std::min(cap, exponent * 10 + (number[i] - '0'));
    }
    const std::int64_t position = integerDigits > 0 ? integerDigits : -zerosAfterPoint;
    return (hex ? position * 4 : position) + (negativeExponent ? -exponent : exponent) > 0;
}

} // namespace

std::string seventeenDigits(double value)
{
    Digits buffer;
    return std::string(seventeenDigitsView(value, buffer));
}

void appendSeventeenDigits(std::string& text, double value)
{
    Digits buffer;
    text += seventeenDigitsView(value, buffer);
}

std::string shortest(double value)
{
    Digits buffer;
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), result.ptr);
}

std::optional<double> parseDouble(std::string_view text)
{
    double value = 0.0;
    const char* end = text.data() + text.size();
    const auto [rest, error] = std::from_chars(text.data(), end, value, std::chars_format::general);
    if (error != std::errc{} || rest != end) {
        return std::nullopt;
    }
    return value;
}

std::optional<double> parseDoublePrefix(std::string_view text)
{
    double value = 0.0;
    if (std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general).ec != std::errc{}) {
        return std::nullopt;
    }
    return value;
}

std::from_chars_result scanDouble(std::string_view text, double& value)
{
    const std::from_chars_result noNumber{text.data(), std::errc::invalid_argument};
    std::size_t pos = 0;
    while (pos < text.size() && isWhiteSpace(text[pos])) {
        ++pos;
    }
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    // from_chars takes a sign of its own; strtod takes only one.
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        return noNumber;
    }
    const char* last = text.data() + text.size();
    double number = 0.0;
    std::from_chars_result result = noNumber;
    bool hex = false;
    // "0x" not followed by a hexadecimal number is the number 0 and a rest.
    if (text.size() - pos > 2 && text[pos] == '0' && (text[pos + 1] == 'x' || text[pos + 1] == 'X')
        && (isHexDigit(text[pos + 2]) || (text[pos + 2] == '.' && text.size() - pos > 3 && isHexDigit(text[pos + 3])))) {
        hex = true;
        pos += 2;
        result = std::from_chars(text.data() + pos, last, number, std::chars_format::hex);
    } else {
        result = std::from_chars(text.data() + pos, last, number, std::chars_format::general);
    }
    if (result.ec == std::errc::result_out_of_range) {
        const std::string_view digits(text.data() + pos, static_cast<std::size_t>(result.ptr - (text.data() + pos)));
        number = isTooLarge(digits, hex) ? HUGE_VAL : 0.0;
    } else if (result.ec != std::errc{}) {
        return noNumber;
    }
    value = negative ? -number : number;
    return result;
}

std::optional<double> parseLeadingDouble(std::string_view text)
{
    double value = 0.0;
    if (scanDouble(text, value).ec == std::errc::invalid_argument) {
        return std::nullopt;
    }
    return value;
}

} // namespace numtext
