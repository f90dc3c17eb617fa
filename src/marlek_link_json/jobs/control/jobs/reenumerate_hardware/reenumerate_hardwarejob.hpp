#pragma once

#include "marlek_link_json/jobs/job_names.hpp"
#include "marlek_link_json/jobs/measurementjob_template.hpp"

// Job "reenumerate_hardware": finds potentiostats that were connected or
// removed; the hardware settings have to be applied again afterwards.
using ReenumerateHardwareJob = MeasurementJobTemplate<AbstractMeasurementJob::Parameterless, &JobNames::REENUMERATE_HARDWARE_JOB_NAME>;
extern template class MeasurementJobTemplate<AbstractMeasurementJob::Parameterless, &JobNames::REENUMERATE_HARDWARE_JOB_NAME>;
