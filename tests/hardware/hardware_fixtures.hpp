#pragma once

#include <boost/json.hpp>

#include <string_view>

// Device trees as the workstation sends them in a "get_hardware_info" result.

// The main potentiostat with one path of each signal and nothing else.
inline constexpr std::string_view kSmallTree = R"({
  "workstation": {"protocol_version": 12, "serial_number": "354531", "model_name": "TQ5",
                  "firmware_version": "3.2.1", "firmware_build_id": "b77", "cpu_card_uuid": "c-1",
                  "system_mac": "00:11:22:33:44:55", "system_name": "bench-2", "mode": "NORMAL"},
  "paths": [
    {"url": "MAIN:1:POT:U~ZMU:1:ZMU_U", "urn": "354531:POT:U~ZMU:1:ZMU_U", "sampling": "simultan",
     "source": "voltage", "relevance": 1, "gain_ranges": [], "filter_ranges": []},
    {"url": "MAIN:1:POT:I~ZMU:1:ZMU_I", "urn": "354531:POT:I~ZMU:1:ZMU_I", "sampling": "simultan",
     "source": "shunt", "relevance": 0.5, "gain_ranges": [], "filter_ranges": []}
  ],
  "potentiostats": [
    {"url": "MAIN:1:POT", "urn": "354531:POT", "identifier": "MAIN", "serialnumber": "354531",
     "software": "2.0", "has_calibration_data": true, "dac_resolution": 16, "current_ranges": [],
     "voltage_ranges": [], "bandwidth_ranges": [], "compliance_ranges": []}
  ],
  "cards": []
})";

// Every card and range kind, an external potentiostat, extra keys the
// reader must ignore, numbers written as integers and as whole doubles, a
// negative index and a mode the XML form knows.
inline constexpr std::string_view kFullTree = R"({
  "workstation": {"protocol_version": 12, "serial_number": "354531", "model_name": "TQ5",
                  "firmware_version": "3.2.1", "firmware_build_id": "b77", "cpu_card_uuid": "c-1",
                  "system_mac": "00:11:22:33:44:55", "system_name": "bench <2> & \"3\"", "mode": "EMULATION"},
  "paths": [
    {"url": "MAIN:1:POT:U~ZMU:1:ZMU_U", "urn": "354531:POT:U~ZMU:1:ZMU_U", "sampling": "simultan",
     "source": "voltage", "relevance": 1.0, "future": {"x": 1},
     "gain_ranges": [{"index": 0, "enabled": true, "nominal_gain": 1},
                     {"index": 1, "enabled": false, "nominal_gain": 10.5}],
     "filter_ranges": [{"index": 0, "enabled": true, "frequency": 1e6},
                       {"index": 2.0, "enabled": true, "frequency": 0.1}]},
    {"url": "ZMU4:1:CH2~ZMU4:1:ADC2", "urn": "88001:CH2~88001:ADC2", "sampling": "acq",
     "source": "input", "relevance": 0.25, "gain_ranges": [], "filter_ranges": []},
    {"url": "HP:1:IN1", "urn": "88002:IN1", "sampling": "high_precision", "source": "input",
     "relevance": 1e-20, "gain_ranges": [{"index": -1, "enabled": false, "nominal_gain": 0.001}],
     "filter_ranges": []}
  ],
  "potentiostats": [
    {"url": "MAIN:1:POT", "urn": "354531:POT", "identifier": "MAIN", "serialnumber": "354531",
     "software": "2.0", "has_calibration_data": true, "dac_resolution": 16,
     "current_ranges": [{"index": 0, "enabled": true, "current": 1, "resistance": 1.5},
                        {"index": 1, "enabled": false, "current": 1e-9, "resistance": 1e9}],
     "voltage_ranges": [{"index": 0, "voltage": 4.5}, {"index": 1, "voltage": 14}],
     "bandwidth_ranges": [{"index": 0, "enabled": true}, {"index": 3, "enabled": false}],
     "compliance_ranges": [{"index": 0, "compliance": 14.5}, {"index": 1, "compliance": 30}]},
    {"url": "XPC:1:EXT2:POT", "urn": "77002:POT", "identifier": "EXT2", "serialnumber": "77002",
     "software": "", "has_calibration_data": false, "dac_resolution": 18, "current_ranges": [],
     "voltage_ranges": [], "bandwidth_ranges": [], "compliance_ranges": [], "extra": null}
  ],
  "cards": [
    {"name": "ZMU", "symbol": "ZMU", "serialnumber": "354531", "firmware": "1.1", "hardware": "C"},
    {"name": "ZMU4", "symbol": "ZMU4", "serialnumber": "88001", "firmware": "0.9", "hardware": "A"},
    {"name": "XPC", "symbol": "XPC", "serialnumber": "66001", "firmware": "2.3", "hardware": "B"},
    {"name": "DIO", "symbol": "DIO", "serialnumber": "55001", "firmware": "1.0", "hardware": "A"},
    {"name": "MUX16", "symbol": "MUX16", "serialnumber": "44001", "firmware": "1.0", "hardware": "A"}
  ]
})";

inline boost::json::value parsedTree(std::string_view text)
{
    return boost::json::parse(text);
}
