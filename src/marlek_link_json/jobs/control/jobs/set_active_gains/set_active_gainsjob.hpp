#pragma once

#include "marlek_link_json/jobs/job_names.hpp"
#include "marlek_link_json/jobs/measurementjob_template.hpp"
#include "marlek_link_json/jobs/parameter_object_json.hpp"

#include <boost/describe/class.hpp>

#include <cstdint>
#include <string>
#include <vector>

// Job "set_active_gains": the gains of an ADC that measurements may use.
struct SetActiveGainsParameters {
    // URL or URN of the ADC.
    std::string adc;
    // Gain indexes; empty allows every gain.
    std::vector<std::uint64_t> indexes;

    friend bool operator==(const SetActiveGainsParameters&, const SetActiveGainsParameters&) = default;
};
BOOST_DESCRIBE_STRUCT(SetActiveGainsParameters, (), (adc, indexes))

template <>
struct ParameterXmlForm<SetActiveGainsParameters> : NoParameterXmlForm {};

using SetActiveGainsJob = MeasurementJobTemplate<SetActiveGainsParameters, &JobNames::SET_ACTIVE_GAINS_JOB_NAME>;
extern template class MeasurementJobTemplate<SetActiveGainsParameters, &JobNames::SET_ACTIVE_GAINS_JOB_NAME>;
