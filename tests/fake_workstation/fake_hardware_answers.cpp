#include "fake_workstation/fake_hardware_answers.hpp"

#include <boost/json.hpp>

namespace fake_workstation {

namespace {

boost::json::object path(const char* url, const char* urn, const char* source)
{
    return {{"url", url},
            {"urn", urn},
            {"sampling", "simultan"},
            {"source", source},
            {"relevance", 1.0},
            {"gain_ranges", boost::json::array{{{"index", 0}, {"enabled", true}, {"nominal_gain", 1.0}}}},
            {"filter_ranges", boost::json::array{{{"index", 0}, {"enabled", true}, {"frequency", 1e6}}}}};
}

boost::json::object channel(const char* uri, const char* dimension, const char* unit)
{
    return {{"uri", uri}, {"dimension", dimension}, {"unit", unit}, {"polynomial", boost::json::array{0.0, 1.0}}};
}

} // namespace

boost::json::object hardwareInfoResult()
{
    return {
        {"workstation",
         {{"protocol_version", 12},
          {"serial_number", "354531"},
          {"model_name", "TQ5"},
          {"firmware_version", "1.0"},
          {"firmware_build_id", "b"},
          {"cpu_card_uuid", "u"},
          {"system_mac", "00:11:22:33:44:55"},
          {"system_name", "ws"},
          {"mode", "NORMAL"}}},
        {"paths", boost::json::array{path("MAIN:1:POT:U~ZMU:1:ZMU_U", "354531:POT:U~ZMU:1:ZMU_U", "voltage"),
                                     path("MAIN:1:POT:I~ZMU:1:ZMU_I", "354531:POT:I~ZMU:1:ZMU_I", "shunt")}},
        {"potentiostats",
         boost::json::array{{{"url", "MAIN:1:POT"},
                             {"urn", "354531:POT"},
                             {"identifier", "MAIN"},
                             {"serialnumber", "354531"},
                             {"software", "2.0"},
                             {"has_calibration_data", true},
                             {"dac_resolution", 16},
                             {"current_ranges", boost::json::array{{{"index", 0},
                                                                    {"enabled", true},
                                                                    {"current", 1.0},
                                                                    {"resistance", 1.0}}}},
                             {"voltage_ranges", boost::json::array{{{"index", 0}, {"voltage", 5.0}}}},
                             {"bandwidth_ranges", boost::json::array{{{"index", 0}, {"enabled", true}}}},
                             {"compliance_ranges", boost::json::array{{{"index", 0}, {"compliance", 14.0}}}}}}},
        {"cards", boost::json::array{{{"name", "ZMU"},
                                      {"symbol", "ZMU"},
                                      {"serialnumber", "354531"},
                                      {"firmware", "1.0"},
                                      {"hardware", "A"}}}},
    };
}

boost::json::object hardwareSettingsResult()
{
    return {
        {"sync_channels", boost::json::array{channel("MAIN:1:POT:U~ZMU:1:ZMU_U", "voltage", "V"),
                                             channel("MAIN:1:POT:I~ZMU:1:ZMU_I", "current", "A")}},
        {"impedance_configurations", boost::json::array{{{"numerator", "MAIN:1:POT:U~ZMU:1:ZMU_U"},
                                                         {"denominator", "MAIN:1:POT:I~ZMU:1:ZMU_I"},
                                                         {"impedance_name", ""}}}},
        {"async_channels", boost::json::array{}},
        {"output_potentiostats", boost::json::array{{{"uri", "MAIN:1:POT"},
                                                     {"potentiostatic_polynomial", boost::json::array{0.0, 1.0}},
                                                     {"galvanostatic_polynomial", boost::json::array{0.0, 1.0}}}}},
    };
}

boost::json::object potentiostatStateResult()
{
    return {
        {"switched_on", true},
        {"autocompensation_on", true},
        {"bias", 0.001},
        {"coupling", "GALVANOSTATIC"},
        {"voltage_range_index", 1},
        {"compliance_range_index", 0},
        {"current_range_index", 3},
        {"bandwidth_index", 2},
        {"current_range_integration_time", 0.02},
        {"current_range_relaxation_time", 0.005},
        {"active_current_range_indexes", boost::json::array{1, 2, 3}},
        {"active_bandwidth_indexes", boost::json::array{0, 2}},
    };
}

} // namespace fake_workstation
