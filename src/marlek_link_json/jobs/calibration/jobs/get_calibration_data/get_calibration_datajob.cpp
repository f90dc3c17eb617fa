#include "marlek_link_json/jobs/calibration/jobs/get_calibration_data/get_calibration_datajob.hpp"

#include "marlek_link_json/jobs/calibration/calibration_data_json.hpp"

#include <boost/json.hpp>

#include <utility>

template class MeasurementJobTemplate<GetCalibrationDataParameters, &JobNames::GET_CALIBRATION_DATA_JOB_NAME>;

void GetCalibrationDataJob::extractJobResult(const boost::json::object& completion)
{
    const auto* result = completion.if_contains("result");
    if (result == nullptr || !result->is_object()) {
        return;
    }
    const auto* data = result->get_object().if_contains("data");
    if (data == nullptr || !data->is_object()) {
        return;
    }
    const auto* type = data->get_object().if_contains("type");
    if (type == nullptr || !type->is_string()) {
        return;
    }
    const auto* value = data->get_object().if_contains("value");
    if (value == nullptr || value->is_null() || value->is_bool()) {
        return;
    }
    const auto dataTypeReceived = CalibrationDataJson::dataTypeFromText(type->get_string());
    if (!dataTypeReceived) {
        return;
    }
    // Each value is read completely before anything is stored, so a value
    // that does not fit leaves the job's type and value as they were.
    switch (*dataTypeReceived) {
    case CalibrationDataTypeEnum::FLOAT:
        floatData = CalibrationDataJson::readFloat(*value);
        break;
    case CalibrationDataTypeEnum::FLOAT_VECTOR:
        floatVectorData = CalibrationDataJson::readFloatVector(*value);
        break;
    case CalibrationDataTypeEnum::SPECTRA:
        spectraData = CalibrationDataJson::readSpectra(*value);
        break;
    case CalibrationDataTypeEnum::STRING:
        stringData = CalibrationDataJson::readString(*value);
        break;
    case CalibrationDataTypeEnum::UNDEFINED:
        return;
    }
    dataType = *dataTypeReceived;
}
