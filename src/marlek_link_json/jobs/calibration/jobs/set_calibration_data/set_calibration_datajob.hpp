#pragma once
// Service job "set_calibration_data": stores one calibration data item on the
// workstation. It reports like an impedance measurement and has no result
// beyond its final job information.

#include "marlek_link_json/jobs/ac/jobs/acmeasurementjob.hpp"
#include "marlek_link_json/jobs/calibration/calibration_parameters_json.hpp"
#include "marlek_link_json/jobs/job_names.hpp"

extern template class AcMeasurementJob<SetCalibrationDataParameters, &JobNames::SET_CALIBRATION_DATA_JOB_NAME>;

using SetCalibrationDataJob = AcMeasurementJob<SetCalibrationDataParameters, &JobNames::SET_CALIBRATION_DATA_JOB_NAME>;
