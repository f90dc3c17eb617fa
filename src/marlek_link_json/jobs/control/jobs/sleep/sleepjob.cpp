#include "marlek_link_json/jobs/control/jobs/sleep/sleepjob.hpp"

#include <boost/json.hpp>

template class MeasurementJobTemplate<SleepParameters, &JobNames::SLEEP_JOB_NAME>;
