#include "fake_workstation/fake_control_jobs.hpp"

#include "fake_workstation/fake_hardware_answers.hpp"
#include "fake_workstation/fake_request_router.hpp"
#include "marlek_json_common/json_common/logging/error_object.hpp"

#include <boost/json.hpp>

#include <array>
#include <string_view>
#include <utility>

namespace FakeControlJobs {

FakeJobScript finished(std::optional<boost::json::value> result)
{
    return FakeJobScript().jobDone("FINISHED", "RUN_TO_COMPLETION", ErrorObject(), std::move(result));
}

std::optional<boost::json::value> sampleResult(const std::string& jobType)
{
    if (jobType == "switch_on") {
        return boost::json::parse(R"({"applied_bias":1.5,"voltage":1.5,"current":0.0625})");
    }
    if (jobType == "get_adc_state") {
        return boost::json::parse(R"({"active_gain_indexes":[0,1,2]})");
    }
    if (jobType == "get_hardware_property") {
        return boost::json::parse(R"({"value":3})");
    }
    if (jobType == "get_hardware_info") {
        return fake_workstation::hardwareInfoResult();
    }
    if (jobType == "get_hardware_settings") {
        return fake_workstation::hardwareSettingsResult();
    }
    if (jobType == "get_potentiostat_state") {
        return fake_workstation::potentiostatStateResult();
    }
    if (jobType == "get_date_time") {
        return boost::json::parse(R"({"datetime":"2025-01-01T00:00:00"})");
    }
    return std::nullopt;
}

void scriptAll(FakeRequestRouter& router)
{
    static constexpr std::array<std::string_view, 25> types{
        "switch_off", "switch_all_off", "switch_on", "switch_on_quick", "set_bias", "set_cable_options",
        "set_active_current_ranges", "set_voltage_range", "set_active_gains", "sleep", "set_hardware_property",
        "get_hardware_property", "set_hardware_settings", "get_hardware_settings", "beep", "set_led_color",
        "get_adc_state", "get_hardware_info", "reenumerate_hardware", "get_potentiostat_state", "reboot",
        "initialize_rtc", "get_date_time", "set_date_time", "set_firmware_update",
    };
    for (const auto type : types) {
        router.setJobScript(std::string(type), finished(sampleResult(std::string(type))));
    }
}

} // namespace FakeControlJobs
