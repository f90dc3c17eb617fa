#pragma once

#include "marlek_link_json/jobs/control/potentiostat_coupling.hpp"

#include <boost/describe/class.hpp>

#include <cstdint>
#include <vector>

// The state of one potentiostat as the workstation reports it. The indexes
// are the `index` numbers of the ranges in the hardware information. Every
// field starts at zero (off, POTENTIOSTATIC, index 0), so a state read
// before any report holds defined values.
struct PotentiostatState {
    bool switched_on = false;
    // Usually on.
    bool autocompensation_on = false;
    // The DC value, volt or ampere by the coupling.
    double bias = 0.0;
    PotentiostatCoupling coupling = PotentiostatCoupling::POTENTIOSTATIC;
    std::int32_t voltage_range_index = 0;
    std::int32_t compliance_range_index = 0;
    std::int32_t current_range_index = 0;
    std::int32_t bandwidth_index = 0;
    // Timing of the automatic current-range switching.
    double current_range_integration_time = 0.0;
    double current_range_relaxation_time = 0.0;
    // The current ranges and bandwidths measurements may use.
    std::vector<std::int32_t> active_current_range_indexes;
    std::vector<std::int32_t> active_bandwidth_indexes;

    friend bool operator==(const PotentiostatState&, const PotentiostatState&) = default;
};
BOOST_DESCRIBE_STRUCT(PotentiostatState, (),
                      (switched_on, autocompensation_on, bias, coupling, voltage_range_index, compliance_range_index,
                       current_range_index, bandwidth_index, current_range_integration_time,
                       current_range_relaxation_time, active_current_range_indexes, active_bandwidth_indexes))
