#include "marlek_link_json/jobs/control/jobs/reenumerate_hardware/reenumerate_hardwarejob.hpp"

#include <boost/json.hpp>

template class MeasurementJobTemplate<AbstractMeasurementJob::Parameterless, &JobNames::REENUMERATE_HARDWARE_JOB_NAME>;
