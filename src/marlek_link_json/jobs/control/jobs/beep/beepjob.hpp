#pragma once

#include "marlek_link_json/jobs/job_names.hpp"
#include "marlek_link_json/jobs/measurementjob_template.hpp"

#include <boost/describe/class.hpp>

// Job "beep".
struct BeepParameters {
    double frequency = 0.0;
    double duration = 0.0;

    friend bool operator==(const BeepParameters&, const BeepParameters&) = default;
};
BOOST_DESCRIBE_STRUCT(BeepParameters, (), (frequency, duration))

using BeepJob = MeasurementJobTemplate<BeepParameters, &JobNames::BEEP_JOB_NAME>;
extern template class MeasurementJobTemplate<BeepParameters, &JobNames::BEEP_JOB_NAME>;
