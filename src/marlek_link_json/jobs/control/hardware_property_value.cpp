#include "marlek_link_json/jobs/control/hardware_property_value.hpp"

#include "marlek_json_common/json_common/json/strict_reader.hpp"
#include "marlek_json_common/json_common/text/number_text.hpp"

#include <boost/json/value.hpp>

#include <array>
#include <type_traits>

std::optional<HardwarePropertyValue> hardwarePropertyValueFromJson(const boost::json::value& source)
{
    HardwarePropertyValue value;
    boost::system::error_code ec;
    StrictJson::Converter<HardwarePropertyValue>::read(source, value, ec);
    if (ec) {
        return std::nullopt;
    }
    return value;
}

std::string hardwarePropertyValueToText(const HardwarePropertyValue& value)
{
    return std::visit(
        [](const auto& alternative) -> std::string {
            using A = std::decay_t<decltype(alternative)>;
            if constexpr (std::is_same_v<A, bool>) {
                return alternative ? "true" : "false";
            } else if constexpr (std::is_same_v<A, int>) {
                return std::to_string(alternative);
            } else if constexpr (std::is_same_v<A, double>) {
                return numtext::shortest(alternative);
            } else {
                return alternative;
            }
        },
        value);
}

HardwarePropertyValue hardwarePropertyValueFromText(std::string_view text)
{
    static constexpr std::array<std::string_view, 3> trueTexts{"true", "True", "TRUE"};
    static constexpr std::array<std::string_view, 3> falseTexts{"false", "False", "FALSE"};
    for (const auto candidate : trueTexts) {
        if (text == candidate) {
            return true;
        }
    }
    for (const auto candidate : falseTexts) {
        if (text == candidate) {
            return false;
        }
    }
    if (const auto integer = numtext::parseInteger<int>(text)) {
        return *integer;
    }
    if (const auto number = numtext::parseDouble(text)) {
        return *number;
    }
    return std::string(text);
}
