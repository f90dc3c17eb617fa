#include "marlek_link_json/jobs/control/jobs/set_firmware_update/set_firmware_updatejob.hpp"

#include <boost/json.hpp>

template class MeasurementJobTemplate<SetFirmwareUpdateParameters, &JobNames::SET_FIRMWARE_UPDATE_JOB_NAME>;
