#include "marlek_link_json/jobs/control/jobs/set_active_current_ranges/set_active_current_rangesjob.hpp"

#include <boost/json.hpp>

template class MeasurementJobTemplate<SetActiveCurrentRangesParameters, &JobNames::SET_ACTIVE_CURRENT_RANGES_JOB_NAME>;
