#include "marlek_link_json/jobs/calibration/calibration_types.hpp"

#include <array>
#include <string_view>

namespace {

constexpr std::array<std::string_view, 22> PROTOCOL_TEXTS{
    "dump",
    "load",
    "dc",
    "main_shunts_dc",
    "external_potentiostat_dc",
    "filter",
    "gain",
    "zmu_filter",
    "zmu_gain",
    "zmu4_filter",
    "zmu4_gain",
    "zmu4_dc_gain",
    "voltage_range",
    "shunt_open",
    "shunt_load",
    "shunt_short",
    "shunt_reference",
    "main_voltage_range",
    "main_shunt_open",
    "main_shunt_load",
    "main_shunt_short",
    "reference_adc",
};

} // namespace

std::string calibrationTypesEnumToString(CalibrationTypesEnum type)
{
    // Taken as unsigned, negative values land above the table too.
    const auto index = static_cast<std::uint32_t>(type);
    if (index >= PROTOCOL_TEXTS.size()) {
        return "dc";
    }
    return std::string(PROTOCOL_TEXTS[index]);
}
