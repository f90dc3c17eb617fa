#pragma once

#include "marlek_link_json/jobs/control/potentiostat_coupling.hpp"
#include "marlek_link_json/jobs/job_names.hpp"
#include "marlek_link_json/jobs/measurementjob_template.hpp"

#include <boost/describe/class.hpp>

#include <cstdint>
#include <string>

// Job "switch_on_quick": switches a potentiostat on without the checks of
// "switch_on". The same fields as SwitchOnParameters, but a type of its own.
struct SwitchOnQuickParameters {
    // URL (such as "MAIN:1:POT") or URN of the potentiostat.
    std::string potentiostat;
    PotentiostatCoupling coupling = PotentiostatCoupling::POTENTIOSTATIC;
    // DC set value: volt or ampere, by the coupling.
    double bias = 0.0;
    std::uint64_t voltage_range_index = 0;
    std::uint64_t compliance_range_index = 0;

    friend bool operator==(const SwitchOnQuickParameters&, const SwitchOnQuickParameters&) = default;
};
BOOST_DESCRIBE_STRUCT(SwitchOnQuickParameters, (),
                      (potentiostat, coupling, bias, voltage_range_index, compliance_range_index))

using SwitchOnQuickJob = MeasurementJobTemplate<SwitchOnQuickParameters, &JobNames::SWITCH_ON_QUICK_JOB_NAME>;
extern template class MeasurementJobTemplate<SwitchOnQuickParameters, &JobNames::SWITCH_ON_QUICK_JOB_NAME>;
