#pragma once

#include "marlek_link_json/jobs/described_record_xml.hpp"

#include <boost/json/fwd.hpp>

#include <optional>
#include <string>
#include <string_view>
#include <variant>

// The value of one hardware property (a digital output, a multiplexer
// channel, ...): its type is the device's.
using HardwarePropertyValue = std::variant<bool, int, double, std::string>;

// The first alternative that fits: a JSON boolean gives bool, a number that
// is exactly a signed 32-bit integer gives int, any other number double, a
// string the string. Null, arrays and objects give nothing.
std::optional<HardwarePropertyValue> hardwarePropertyValueFromJson(const boost::json::value& source);

// "true" or "false", the decimal integer, the shortest text of the double
// that reads back exactly, or the string itself.
std::string hardwarePropertyValueToText(const HardwarePropertyValue& value);

// Decides by the whole text: exactly true/True/TRUE/false/False/FALSE gives
// bool, a decimal integer within 32 bits int, any other text that is a
// number as a whole double, everything else the text as a string.
HardwarePropertyValue hardwarePropertyValueFromText(std::string_view text);

namespace DescribedXml {

// An element without text keeps the value.
template <>
struct MemberText<HardwarePropertyValue> {
    static std::string write(const HardwarePropertyValue& value) { return hardwarePropertyValueToText(value); }
    static void read(const tinyxml2::XMLElement& element, HardwarePropertyValue& target)
    {
        const char* text = element.GetText();
        if (text != nullptr && *text != '\0') {
            target = hardwarePropertyValueFromText(text);
        }
    }
};

} // namespace DescribedXml
