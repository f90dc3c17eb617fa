#include "marlek_link_json/jobs/control/jobs/set_cable_options/set_cable_optionsjob.hpp"

#include <boost/json.hpp>

template class MeasurementJobTemplate<SetCableOptionsParameters, &JobNames::SET_CABLE_OPTIONS_JOB_NAME>;
