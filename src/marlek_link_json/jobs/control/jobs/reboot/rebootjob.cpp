#include "marlek_link_json/jobs/control/jobs/reboot/rebootjob.hpp"

#include <boost/json.hpp>

template class MeasurementJobTemplate<AbstractMeasurementJob::Parameterless, &JobNames::REBOOT_JOB_NAME>;
