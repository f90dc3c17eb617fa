#pragma once
// Service job "get_calibration_data": reads one stored calibration data item,
// which arrives in "result"."data" of the job's completion.

#include "marlek_json_common/json_common/vector.hpp"
#include "marlek_link_json/jobs/calibration/calibration_parameters.hpp"
#include "marlek_link_json/jobs/calibration/calibration_types.hpp"
#include "marlek_link_json/jobs/job_names.hpp"
#include "marlek_link_json/jobs/measurementjob_template.hpp"

#include <limits>
#include <string>
#include <vector>

extern template class MeasurementJobTemplate<GetCalibrationDataParameters, &JobNames::GET_CALIBRATION_DATA_JOB_NAME>;

class GetCalibrationDataJob
    : public MeasurementJobTemplate<GetCalibrationDataParameters, &JobNames::GET_CALIBRATION_DATA_JOB_NAME> {
public:
    using MeasurementJobTemplate::MeasurementJobTemplate;

    // Takes the data item of a completion whose "result"."data" holds a
    // "type" text and a "value" that is neither null nor a boolean; anything
    // less, or an unknown type text, changes nothing. A value that does not
    // fit its type raises boost::system::system_error (the spectrum's key
    // parser std::invalid_argument or std::out_of_range) and changes nothing
    // either. Only the field of the received type is replaced; the others
    // keep what earlier runs stored.
    void extractJobResult(const boost::json::object& completion) override;

    CalibrationDataTypeEnum getCalibrationDataType() const { return dataType; }
    double getFloatData() const { return floatData; }
    std::vector<double> getFloatVectorData() const { return floatVectorData; }
    SpectrumMap getSpectraData() const { return spectraData; }
    std::string getStringData() const { return stringData; }

private:
    CalibrationDataTypeEnum dataType = CalibrationDataTypeEnum::UNDEFINED;
    double floatData = std::numeric_limits<double>::quiet_NaN();
    std::vector<double> floatVectorData;
    SpectrumMap spectraData;
    std::string stringData;
};
