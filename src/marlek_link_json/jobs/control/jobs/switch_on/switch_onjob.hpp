#pragma once

#include "marlek_link_json/jobs/control/potentiostat_coupling.hpp"
#include "marlek_link_json/jobs/job_names.hpp"
#include "marlek_link_json/jobs/measurementjob_template.hpp"

#include <boost/describe/class.hpp>

#include <cstdint>
#include <string>

// Job "switch_on": switches a potentiostat on, checks that the set value was
// reached and that voltage and current are within the ranges, and switches
// it off again at once when not.
struct SwitchOnParameters {
    // URL (such as "MAIN:1:POT") or URN of the potentiostat.
    std::string potentiostat;
    PotentiostatCoupling coupling = PotentiostatCoupling::POTENTIOSTATIC;
    // DC set value: volt or ampere, by the coupling.
    double bias = 0.0;
    std::uint64_t voltage_range_index = 0;
    std::uint64_t compliance_range_index = 0;

    friend bool operator==(const SwitchOnParameters&, const SwitchOnParameters&) = default;
};
BOOST_DESCRIBE_STRUCT(SwitchOnParameters, (),
                      (potentiostat, coupling, bias, voltage_range_index, compliance_range_index))

// What "switch_on" reports; zeros until a run reported it.
struct SwitchOnInfo {
    // The bias actually applied, scaled with the configured polynomial.
    double applied_bias = 0.0;
    // Output voltage and current of the potentiostat, without polynomial.
    double voltage = 0.0;
    double current = 0.0;

    friend bool operator==(const SwitchOnInfo&, const SwitchOnInfo&) = default;
};
BOOST_DESCRIBE_STRUCT(SwitchOnInfo, (), (applied_bias, voltage, current))

class SwitchOnJob
    : public SingleValueMeasurementJobTemplate<SwitchOnInfo, SwitchOnParameters, &JobNames::SWITCH_ON_JOB_NAME> {
public:
    using SingleValueMeasurementJobTemplate::SingleValueMeasurementJobTemplate;

    // Every member must be a number; a "result" that does not fit raises the
    // JSON conversion error and keeps the stored result.
    void extractJobResult(const boost::json::object& completion) override;
};

extern template class MeasurementJobTemplate<SwitchOnParameters, &JobNames::SWITCH_ON_JOB_NAME>;
extern template class SingleValueMeasurementJobTemplate<SwitchOnInfo, SwitchOnParameters,
                                                        &JobNames::SWITCH_ON_JOB_NAME>;
