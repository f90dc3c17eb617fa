#pragma once

#include "marlek_json_common/json_common/configuration/device/workstation_info.hpp"
#include "marlek_link_json/jobs/control/hardware_info/hardware_ranges.hpp"

#include <boost/describe/class.hpp>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// One signal path the workstation can measure.
struct PathInfo {
    std::string url;
    std::string urn;
    // "simultan", "acq" or "high_precision", as the workstation sends it.
    std::string sampling;
    // "shunt", "voltage" or "input", as the workstation sends it.
    std::string source;
    // 1.0 for the most relevant channel, 0 for the least.
    double relevance = 0.0;
    std::vector<GainRange> gain_ranges;
    std::vector<FilterRange> filter_ranges;

    friend bool operator==(const PathInfo&, const PathInfo&) = default;
};
BOOST_DESCRIBE_STRUCT(PathInfo, (), (url, urn, sampling, source, relevance, gain_ranges, filter_ranges))

struct PotentiostatInfo {
    std::string url;
    std::string urn;
    std::string identifier;
    std::string serialnumber;
    std::string software;
    // Without calibration data the potentiostat cannot measure.
    bool has_calibration_data = false;
    // Bits of the output DAC.
    std::int32_t dac_resolution = 0;
    std::vector<CurrentRange> current_ranges;
    std::vector<VoltageRange> voltage_ranges;
    std::vector<BandwidthRange> bandwidth_ranges;
    std::vector<ComplianceRange> compliance_ranges;

    friend bool operator==(const PotentiostatInfo&, const PotentiostatInfo&) = default;
};
BOOST_DESCRIBE_STRUCT(PotentiostatInfo, (),
                      (url, urn, identifier, serialnumber, software, has_calibration_data, dac_resolution,
                       current_ranges, voltage_ranges, bandwidth_ranges, compliance_ranges))

struct CardInfo {
    std::string name;
    std::string symbol;
    std::string serialnumber;
    std::string firmware;
    std::string hardware;

    friend bool operator==(const CardInfo&, const CardInfo&) = default;
};
BOOST_DESCRIBE_STRUCT(CardInfo, (), (name, symbol, serialnumber, firmware, hardware))

// The device tree of a workstation. Paths and potentiostats are addressed
// either by url (a device address such as "MAIN:1:POT") or by urn (a name
// bound to the serial number such as "354531:POT"); the lookups translate.
struct HardwareInfo {
    WorkstationInfo workstation;
    std::vector<PathInfo> paths;
    std::vector<PotentiostatInfo> potentiostats;
    std::vector<CardInfo> cards;

    // Paths are searched before potentiostats; the first exact match decides.
    // Cards are never searched.
    bool containsUrn(std::string_view urn) const;
    bool containsUrl(std::string_view url) const;
    // Empty when nothing matches.
    std::string convertUrnToUrl(std::string_view urn) const;
    std::string convertUrlToUrn(std::string_view url) const;

    friend bool operator==(const HardwareInfo&, const HardwareInfo&) = default;
};
BOOST_DESCRIBE_STRUCT(HardwareInfo, (), (workstation, paths, potentiostats, cards))
