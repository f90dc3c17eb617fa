#pragma once

#include "marlek_link_json/jobs/job_names.hpp"
#include "marlek_link_json/jobs/measurementjob_template.hpp"

// Job "initialize_rtc": initialises the real-time clock, needed after the
// CPU battery was replaced.
using InitializeRtcJob = MeasurementJobTemplate<AbstractMeasurementJob::Parameterless, &JobNames::INITIALIZE_RTC_JOB_NAME>;
extern template class MeasurementJobTemplate<AbstractMeasurementJob::Parameterless, &JobNames::INITIALIZE_RTC_JOB_NAME>;
