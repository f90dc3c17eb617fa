#include "marlek_link_json/jobs/control/jobs/switch_off/switch_offjob.hpp"

#include <boost/json.hpp>

template class MeasurementJobTemplate<SwitchOffParameters, &JobNames::SWITCH_OFF_JOB_NAME>;
