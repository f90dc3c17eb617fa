#pragma once

#include "marlek_link_json/jobs/job_names.hpp"
#include "marlek_link_json/jobs/measurementjob_template.hpp"

#include <boost/describe/class.hpp>

#include <string>

// Job "set_bias": sets only the bias of a switched-on potentiostat; the
// workstation may change range on the way.
struct SetBiasParameters {
    // URL or URN of the potentiostat.
    std::string potentiostat;
    // In volt or ampere, by the present coupling.
    double bias = 0.0;

    friend bool operator==(const SetBiasParameters&, const SetBiasParameters&) = default;
};
BOOST_DESCRIBE_STRUCT(SetBiasParameters, (), (potentiostat, bias))

using SetBiasJob = MeasurementJobTemplate<SetBiasParameters, &JobNames::SET_BIAS_JOB_NAME>;
extern template class MeasurementJobTemplate<SetBiasParameters, &JobNames::SET_BIAS_JOB_NAME>;
