#include "marlek_link_json/jobs/control/jobs/set_voltage_range/set_voltage_rangejob.hpp"

#include <boost/json.hpp>

template class MeasurementJobTemplate<SetVoltageRangeParameters, &JobNames::SET_VOLTAGE_RANGE_JOB_NAME>;
