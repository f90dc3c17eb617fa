#pragma once

#include <boost/describe/class.hpp>

#include <cstdint>

// The ranges of a path or potentiostat. `index` is the number by which the
// range-selecting control jobs and the potentiostat state name a range.

struct CurrentRange {
    std::int32_t index = 0;
    bool enabled = false;
    // Largest current of the range.
    double current = 0.0;
    // Nominal shunt resistance.
    double resistance = 0.0;

    friend bool operator==(const CurrentRange&, const CurrentRange&) = default;
};
BOOST_DESCRIBE_STRUCT(CurrentRange, (), (index, enabled, current, resistance))

struct VoltageRange {
    std::int32_t index = 0;
    // Largest voltage of the range.
    double voltage = 0.0;

    friend bool operator==(const VoltageRange&, const VoltageRange&) = default;
};
BOOST_DESCRIBE_STRUCT(VoltageRange, (), (index, voltage))

struct ComplianceRange {
    std::int32_t index = 0;
    // Largest compliance voltage of the range.
    double compliance = 0.0;

    friend bool operator==(const ComplianceRange&, const ComplianceRange&) = default;
};
BOOST_DESCRIBE_STRUCT(ComplianceRange, (), (index, compliance))

struct BandwidthRange {
    std::int32_t index = 0;
    bool enabled = false;

    friend bool operator==(const BandwidthRange&, const BandwidthRange&) = default;
};
BOOST_DESCRIBE_STRUCT(BandwidthRange, (), (index, enabled))

struct GainRange {
    std::int32_t index = 0;
    bool enabled = false;
    double nominal_gain = 0.0;

    friend bool operator==(const GainRange&, const GainRange&) = default;
};
BOOST_DESCRIBE_STRUCT(GainRange, (), (index, enabled, nominal_gain))

struct FilterRange {
    std::int32_t index = 0;
    bool enabled = false;
    // Highest impedance frequency the filter is used for.
    double frequency = 0.0;

    friend bool operator==(const FilterRange&, const FilterRange&) = default;
};
BOOST_DESCRIBE_STRUCT(FilterRange, (), (index, enabled, frequency))
