#include "marlek_link_json/jobs/control/jobs/set_hardware_property/set_hardware_propertyjob.hpp"

#include <boost/json.hpp>

template class MeasurementJobTemplate<SetHardwarePropertyParameters, &JobNames::SET_HARDWARE_PROPERTY_JOB_NAME>;
