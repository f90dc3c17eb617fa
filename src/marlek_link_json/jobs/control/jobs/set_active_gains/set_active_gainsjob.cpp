#include "marlek_link_json/jobs/control/jobs/set_active_gains/set_active_gainsjob.hpp"

#include <boost/json.hpp>

template class MeasurementJobTemplate<SetActiveGainsParameters, &JobNames::SET_ACTIVE_GAINS_JOB_NAME>;
