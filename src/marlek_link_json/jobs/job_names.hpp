#pragma once

#include <string_view>

// The jobs' names on the wire. The job class templates take the address of
// one of these constants, so every constant has one address program-wide.
struct JobNames {
    static constexpr std::string_view SWITCH_OFF_JOB_NAME = "switch_off";
    static constexpr std::string_view SWITCH_ALL_OFF_JOB_NAME = "switch_all_off";
    static constexpr std::string_view SWITCH_ON_JOB_NAME = "switch_on";
    static constexpr std::string_view SWITCH_ON_QUICK_JOB_NAME = "switch_on_quick";
    static constexpr std::string_view SET_BIAS_JOB_NAME = "set_bias";
    static constexpr std::string_view SET_CABLE_OPTIONS_JOB_NAME = "set_cable_options";
    static constexpr std::string_view SET_VOLTAGE_RANGE_JOB_NAME = "set_voltage_range";
    static constexpr std::string_view SET_ACTIVE_GAINS_JOB_NAME = "set_active_gains";
    static constexpr std::string_view SET_ACTIVE_CURRENT_RANGES_JOB_NAME = "set_active_current_ranges";
    static constexpr std::string_view SLEEP_JOB_NAME = "sleep";
    static constexpr std::string_view SET_HARDWARE_PROPERTY_JOB_NAME = "set_hardware_property";
    static constexpr std::string_view GET_HARDWARE_PROPERTY_JOB_NAME = "get_hardware_property";
    static constexpr std::string_view SET_HARDWARE_SETTINGS_JOB_NAME = "set_hardware_settings";
    static constexpr std::string_view BEEP_JOB_NAME = "beep";
    static constexpr std::string_view SET_LED_COLOR_JOB_NAME = "set_led_color";
    static constexpr std::string_view GET_ADC_STATE_JOB_NAME = "get_adc_state";
    static constexpr std::string_view GET_HARDWARE_INFO_JOB_NAME = "get_hardware_info";
    static constexpr std::string_view GET_HARDWARE_SETTINGS_JOB_NAME = "get_hardware_settings";
    static constexpr std::string_view REENUMERATE_HARDWARE_JOB_NAME = "reenumerate_hardware";
    static constexpr std::string_view GET_POTENTIOSTAT_STATE_JOB_NAME = "get_potentiostat_state";
    static constexpr std::string_view REBOOT_JOB_NAME = "reboot";
    static constexpr std::string_view INITIALIZE_RTC_JOB_NAME = "initialize_rtc";
    static constexpr std::string_view GET_DATETIME_NAME = "get_date_time";
    static constexpr std::string_view SET_DATETIME_NAME = "set_date_time";
    static constexpr std::string_view SET_FIRMWARE_UPDATE_JOB_NAME = "set_firmware_update";
    static constexpr std::string_view MEASURE_INTEGRAL_JOB_NAME = "measure_integral";
    static constexpr std::string_view CALIBRATE_JOB_NAME = "calibrate";

    static constexpr std::string_view OCV_JOB_NAME = "ocv";
    static constexpr std::string_view CV_JOB_NAME = "cv";
    static constexpr std::string_view FAST_CYCLING_JOB_NAME = "fast_cycling";
    static constexpr std::string_view AC_CV_JOB_NAME = "ac_cv";
    static constexpr std::string_view POGA_JOB_NAME = "poga";
    static constexpr std::string_view RAMP_JOB_NAME = "ramp";
    static constexpr std::string_view STEADYSTAIRS_JOB_NAME = "steady_stairs";
    static constexpr std::string_view DPV_JOB_NAME = "dpv";
    static constexpr std::string_view NPV_JOB_NAME = "npv";
    static constexpr std::string_view SWV_JOB_NAME = "swv";
    static constexpr std::string_view WAVE_JOB_NAME = "wave";
    static constexpr std::string_view WAVE_FILE_JOB_NAME = "wave_file";

    static constexpr std::string_view EIS_GENERATE_JOB_NAME = "eis";
    static constexpr std::string_view EIS_TABLE_JOB_NAME = "eis_table";
    static constexpr std::string_view EIS_MULTISINE_TABLE_JOB_NAME = "eis_multisine_table";
    static constexpr std::string_view EIS_MULTISINE_GENERATE_JOB_NAME = "eis_multisine";
    static constexpr std::string_view GEIS_VA_GENERATE_JOB_NAME = "geis_va";
    static constexpr std::string_view GEIS_VA_TABLE_JOB_NAME = "geis_va_table";

    // The service jobs' names start with the UTF-8 bytes of U+1F6E0 U+FE0F
    // (hammer and wrench, emoji presentation); they are part of every lookup.
    static constexpr std::string_view SET_CALIBRATION_DATA_JOB_NAME = "\xF0\x9F\x9B\xA0\xEF\xB8\x8F/set_calibration_data";
    static constexpr std::string_view GET_CALIBRATION_DATA_JOB_NAME = "\xF0\x9F\x9B\xA0\xEF\xB8\x8F/get_calibration_data";
    static constexpr std::string_view GET_MESH_JSON_FILE_JOB_NAME = "\xF0\x9F\x9B\xA0\xEF\xB8\x8F/get_mesh_json_file";
    static constexpr std::string_view SET_MESH_JSON_FILE_JOB_NAME = "\xF0\x9F\x9B\xA0\xEF\xB8\x8F/set_mesh_json_file";
    static constexpr std::string_view GET_FILTER_USAGE_MATRIX_JOB_NAME = "\xF0\x9F\x9B\xA0\xEF\xB8\x8F/get_filter_usage_matrix";
};
