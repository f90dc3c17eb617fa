#include "marlek_link_json/jobs/control/jobs/set_hardware_settings/set_hardware_settingsjob.hpp"

#include <boost/json.hpp>

template class MeasurementJobTemplate<SetHardwareSettingsParameters, &JobNames::SET_HARDWARE_SETTINGS_JOB_NAME>;
