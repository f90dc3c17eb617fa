#pragma once

#include "marlek_link_json/jobs/job_names.hpp"
#include "marlek_link_json/jobs/measurementjob_template.hpp"

// Job "switch_all_off": switches every potentiostat off.
using SwitchAllOffJob = MeasurementJobTemplate<AbstractMeasurementJob::Parameterless, &JobNames::SWITCH_ALL_OFF_JOB_NAME>;
extern template class MeasurementJobTemplate<AbstractMeasurementJob::Parameterless, &JobNames::SWITCH_ALL_OFF_JOB_NAME>;
