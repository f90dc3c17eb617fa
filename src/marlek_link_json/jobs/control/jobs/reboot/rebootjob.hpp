#pragma once

#include "marlek_link_json/jobs/job_names.hpp"
#include "marlek_link_json/jobs/measurementjob_template.hpp"

// Job "reboot": the workstation restarts about a second after the job
// ends, so the connection drops soon after.
using RebootJob = MeasurementJobTemplate<AbstractMeasurementJob::Parameterless, &JobNames::REBOOT_JOB_NAME>;
extern template class MeasurementJobTemplate<AbstractMeasurementJob::Parameterless, &JobNames::REBOOT_JOB_NAME>;
