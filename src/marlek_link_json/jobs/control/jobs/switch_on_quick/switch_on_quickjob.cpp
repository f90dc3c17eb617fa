#include "marlek_link_json/jobs/control/jobs/switch_on_quick/switch_on_quickjob.hpp"

#include <boost/json.hpp>

template class MeasurementJobTemplate<SwitchOnQuickParameters, &JobNames::SWITCH_ON_QUICK_JOB_NAME>;
