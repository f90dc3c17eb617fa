#include "marlek_link_json/jobs/calibration/jobs/set_calibration_data/set_calibration_datajob.hpp"

#include <boost/json.hpp>

template class AcMeasurementJob<SetCalibrationDataParameters, &JobNames::SET_CALIBRATION_DATA_JOB_NAME>;
