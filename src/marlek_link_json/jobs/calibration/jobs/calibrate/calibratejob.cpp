#include "marlek_link_json/jobs/calibration/jobs/calibrate/calibratejob.hpp"

#include <boost/json.hpp>

template class AcMeasurementJob<CalibrateParametersString, &JobNames::CALIBRATE_JOB_NAME>;

namespace {

CalibrateParametersString sentForm(const CalibrateParameters& parameters)
{
    return {calibrationTypesEnumToString(parameters.calibration_type), parameters.calibration_path,
            parameters.indexes, parameters.paths};
}

} // namespace

CalibrateJob::CalibrateJob(const CalibrateParameters& parameters) : AcMeasurementJob(sentForm(parameters)) {}

CalibrateJob::~CalibrateJob() = default;
