#include "marlek_link_json/jobs/control/jobs/beep/beepjob.hpp"

#include <boost/json.hpp>

template class MeasurementJobTemplate<BeepParameters, &JobNames::BEEP_JOB_NAME>;
