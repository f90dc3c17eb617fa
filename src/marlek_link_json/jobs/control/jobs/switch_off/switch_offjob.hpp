#pragma once

#include "marlek_link_json/jobs/job_names.hpp"
#include "marlek_link_json/jobs/measurementjob_template.hpp"

#include <boost/describe/class.hpp>

#include <string>

// Job "switch_off": switches one potentiostat off.
struct SwitchOffParameters {
    // URL (such as "MAIN:1:POT") or URN of the potentiostat.
    std::string potentiostat;

    friend bool operator==(const SwitchOffParameters&, const SwitchOffParameters&) = default;
};
BOOST_DESCRIBE_STRUCT(SwitchOffParameters, (), (potentiostat))

using SwitchOffJob = MeasurementJobTemplate<SwitchOffParameters, &JobNames::SWITCH_OFF_JOB_NAME>;
extern template class MeasurementJobTemplate<SwitchOffParameters, &JobNames::SWITCH_OFF_JOB_NAME>;
