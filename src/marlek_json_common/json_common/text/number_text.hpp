#pragma once
// Numbers as text and back for everything that goes into a file or onto the
// wire. The C library's number functions (printf, strtod, sscanf) and the XML
// library's number methods built on them follow the process's locale, which a
// host application may switch to one with a decimal comma at any time; these
// never look at it.

#include <charconv>
#include <concepts>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace numtext {

// The text printf's "%.17g" gives in the "C" locale, enough digits for every
// double to read back exactly ("0.10000000000000001", "1e+22", "inf",
// "-inf"). A NaN is "nan" whatever its sign bit.
std::string seventeenDigits(double value);

// seventeenDigits appended to `text`, without a temporary string.
void appendSeventeenDigits(std::string& text, double value);

// The shortest text that reads back to the same double: fixed or scientific,
// whichever is shorter, fixed on a tie ("0.5", "1e+05", "1e-04"). A NaN with
// its sign bit set is "-nan".
std::string shortest(double value);

// The whole text as a double: decimal digits with an optional "-", point and
// exponent, or "inf", "infinity", "nan" in any case. No blanks, no "+", no
// hexadecimal; nothing when the text is anything else or out of range.
std::optional<double> parseDouble(std::string_view text);

// The double that starts the text, read as parseDouble reads a whole text
// (std::from_chars in the general format: no blanks, no "+", no hexadecimal
// form), whatever follows it ignored: "1.5s" is 1.5, "0x10" is 0. Nothing
// when no number starts the text or it is out of range.
std::optional<double> parseDoublePrefix(std::string_view text);

// The number at the start of a text, read the way the C library's strtod
// reads it in the "C" locale: leading white space skipped, an optional sign,
// decimal or "0x" hexadecimal, "inf", "infinity" and "nan"; `ptr` points
// after the number. Beyond the range of a double the value is an infinity,
// below it zero, and the error result_out_of_range; invalid_argument when no
// number starts the text, and `value` is then left as it was.
std::from_chars_result scanDouble(std::string_view text, double& value);

// scanDouble's value, out of range included, whatever follows the number
// ignored: how the C library's sscanf("%lf") reads, for texts that files of
// other writers may pad or decorate. Nothing when no number starts the text.
std::optional<double> parseLeadingDouble(std::string_view text);

// The whole text as a decimal integer of type T: an optional "-" (signed
// types only), digits, nothing else; nothing when it does not fit.
template <std::integral T>
    requires(!std::same_as<T, bool>)
std::optional<T> parseInteger(std::string_view text)
{
    T value{};
    const char* end = text.data() + text.size();
    const auto [rest, error] = std::from_chars(text.data(), end, value, 10);
    if (error != std::errc{} || rest != end) {
        return std::nullopt;
    }
    return value;
}

// The decimal integer of type T that starts the text, whatever follows it
// ignored ("2rows" is 2); nothing when the text does not start with one or
// it does not fit.
template <std::integral T>
    requires(!std::same_as<T, bool>)
std::optional<T> parseLeadingInteger(std::string_view text)
{
    T value{};
    if (std::from_chars(text.data(), text.data() + text.size(), value, 10).ec != std::errc{}) {
        return std::nullopt;
    }
    return value;
}

} // namespace numtext
