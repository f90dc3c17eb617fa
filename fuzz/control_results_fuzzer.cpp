// Feeds arbitrary text to the readers of what the workstation reports for a
// control job and of the control records' XML: as a hardware-property value
// text, as a JOB_DONE "result" or parameter object, or as a "parameters"
// element. Besides crashes the sanitizers catch, it checks that a
// hardware-property value read from text reads back the same from its own
// text.

#include "marlek_json_common/json_common/json/strict_reader.hpp"
#include "marlek_link_json/jobs/control/hardware_property_value.hpp"
#include "marlek_link_json/jobs/control/jobs/get_adc_state/get_adc_statejob.hpp"
#include "marlek_link_json/jobs/control/jobs/set_active_gains/set_active_gainsjob.hpp"
#include "marlek_link_json/jobs/control/jobs/set_hardware_property/set_hardware_propertyjob.hpp"
#include "marlek_link_json/jobs/control/jobs/set_led_color/set_led_colorjob.hpp"
#include "marlek_link_json/jobs/control/jobs/switch_on/switch_onjob.hpp"

#include <boost/json.hpp>
#include <tinyxml2.h>

#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <variant>

namespace {

// A whole double within 32 bits is written like an int and comes back as
// one; NaN never equals itself. Everything else must come back unchanged.
void checkTextRoundTrip(std::string_view text)
{
    const HardwarePropertyValue read = hardwarePropertyValueFromText(text);
    if (const auto* number = std::get_if<double>(&read)) {
        if (std::isnan(*number) || (std::trunc(*number) == *number && *number >= INT_MIN && *number <= INT_MAX)) {
            return;
        }
    }
    if (hardwarePropertyValueFromText(hardwarePropertyValueToText(read)) != read) {
        __builtin_trap();
    }
}

template <typename T>
void readStrictly(const boost::json::value& value)
{
    try {
        (void)StrictJson::read<T>(value);
    } catch (const boost::system::system_error&) {
    }
}

void readJson(std::string_view text)
{
    boost::system::error_code ec;
    const boost::json::value value = boost::json::parse(text, ec);
    if (ec) {
        return;
    }
    (void)hardwarePropertyValueFromJson(value);
    readStrictly<SwitchOnInfo>(value);
    readStrictly<AdcStateInfo>(value);
    readStrictly<SwitchOnParameters>(value);
    readStrictly<SetHardwarePropertyParameters>(value);
    readStrictly<SetLedColorParameters>(value);
    readStrictly<SetActiveGainsParameters>(value);
}

void readXml(std::string_view text)
{
    tinyxml2::XMLDocument document;
    if (document.Parse(text.data(), text.size()) != tinyxml2::XML_SUCCESS || document.RootElement() == nullptr) {
        return;
    }
    const auto* parameters = document.RootElement();
    SwitchOnParameters switchOn{};
    DescribedXml::readMembers(parameters, switchOn);
    SetHardwarePropertyParameters property{};
    DescribedXml::readMembers(parameters, property);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) {
        return 0;
    }
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    switch (data[0] % 3) {
    case 0:
        checkTextRoundTrip(text);
        break;
    case 1:
        readJson(text);
        break;
    default:
        readXml(text);
        break;
    }
    return 0;
}
