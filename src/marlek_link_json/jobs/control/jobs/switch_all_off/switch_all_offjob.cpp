#include "marlek_link_json/jobs/control/jobs/switch_all_off/switch_all_offjob.hpp"

#include <boost/json.hpp>

template class MeasurementJobTemplate<AbstractMeasurementJob::Parameterless, &JobNames::SWITCH_ALL_OFF_JOB_NAME>;
