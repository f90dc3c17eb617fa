#pragma once
// Every control and query job kind, for the tests of this folder.

#include "support/json_text.hpp"

#include "marlek_link_json/jobs/control/jobs/beep/beepjob.hpp"
#include "marlek_link_json/jobs/control/jobs/get_adc_state/get_adc_statejob.hpp"
#include "marlek_link_json/jobs/control/jobs/get_date_time/get_date_timejob.hpp"
#include "marlek_link_json/jobs/control/jobs/get_hardware_property/get_hardware_propertyjob.hpp"
#include "marlek_link_json/jobs/control/jobs/initialize_rtc/initialize_rtcjob.hpp"
#include "marlek_link_json/jobs/control/jobs/reboot/rebootjob.hpp"
#include "marlek_link_json/jobs/control/jobs/reenumerate_hardware/reenumerate_hardwarejob.hpp"
#include "marlek_link_json/jobs/control/jobs/set_active_current_ranges/set_active_current_rangesjob.hpp"
#include "marlek_link_json/jobs/control/jobs/set_active_gains/set_active_gainsjob.hpp"
#include "marlek_link_json/jobs/control/jobs/set_bias/set_biasjob.hpp"
#include "marlek_link_json/jobs/control/jobs/set_cable_options/set_cable_optionsjob.hpp"
#include "marlek_link_json/jobs/control/jobs/set_date_time/set_date_timejob.hpp"
#include "marlek_link_json/jobs/control/jobs/set_firmware_update/set_firmware_updatejob.hpp"
#include "marlek_link_json/jobs/control/jobs/set_hardware_property/set_hardware_propertyjob.hpp"
#include "marlek_link_json/jobs/control/jobs/set_led_color/set_led_colorjob.hpp"
#include "marlek_link_json/jobs/control/jobs/set_voltage_range/set_voltage_rangejob.hpp"
#include "marlek_link_json/jobs/control/jobs/sleep/sleepjob.hpp"
#include "marlek_link_json/jobs/control/jobs/switch_all_off/switch_all_offjob.hpp"
#include "marlek_link_json/jobs/control/jobs/switch_off/switch_offjob.hpp"
#include "marlek_link_json/jobs/control/jobs/switch_on/switch_onjob.hpp"
#include "marlek_link_json/jobs/control/jobs/switch_on_quick/switch_on_quickjob.hpp"

#include <boost/json.hpp>

#include <string>
#include <string_view>

namespace json = boost::json;

using Parameterless = AbstractMeasurementJob::Parameterless;

inline json::object objectOf(std::string_view text)
{
    return json::parse(text).as_object();
}
