#include "marlek_link_json/jobs/control/jobs/set_bias/set_biasjob.hpp"

#include <boost/json.hpp>

template class MeasurementJobTemplate<SetBiasParameters, &JobNames::SET_BIAS_JOB_NAME>;
