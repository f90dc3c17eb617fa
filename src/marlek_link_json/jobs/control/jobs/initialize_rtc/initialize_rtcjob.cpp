#include "marlek_link_json/jobs/control/jobs/initialize_rtc/initialize_rtcjob.hpp"

#include <boost/json.hpp>

template class MeasurementJobTemplate<AbstractMeasurementJob::Parameterless, &JobNames::INITIALIZE_RTC_JOB_NAME>;
