#pragma once

#include "marlek_link_json/jobs/job_names.hpp"
#include "marlek_link_json/jobs/measurementjob_template.hpp"

#include <boost/describe/class.hpp>

// Job "sleep": waits on the workstation.
struct SleepParameters {
    // In seconds.
    double duration = 0.0;

    friend bool operator==(const SleepParameters&, const SleepParameters&) = default;
};
BOOST_DESCRIBE_STRUCT(SleepParameters, (), (duration))

using SleepJob = MeasurementJobTemplate<SleepParameters, &JobNames::SLEEP_JOB_NAME>;
extern template class MeasurementJobTemplate<SleepParameters, &JobNames::SLEEP_JOB_NAME>;
