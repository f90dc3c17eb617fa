#include "marlek_link_json/jobs/calibration/calibration_data_json.hpp"

#include "marlek_json_common/json_common/json/strict_reader.hpp"
#include "marlek_json_common/json_common/protocol/json_members.hpp"

#include <boost/json.hpp>

namespace CalibrationDataJson {

std::optional<CalibrationDataTypeEnum> dataTypeFromText(std::string_view text)
{
    if (text == "float") {
        return CalibrationDataTypeEnum::FLOAT;
    }
    if (text == "float_vector") {
        return CalibrationDataTypeEnum::FLOAT_VECTOR;
    }
    if (text == "spectra") {
        return CalibrationDataTypeEnum::SPECTRA;
    }
    if (text == "string") {
        return CalibrationDataTypeEnum::STRING;
    }
    return std::nullopt;
}

double readFloat(const boost::json::value& value)
{
    if (!value.is_double()) {
        jsonmembers::throwJsonError(boost::json::error::not_double);
    }
    return value.get_double();
}

std::vector<double> readFloatVector(const boost::json::value& value)
{
    return StrictJson::read<std::vector<double>>(value);
}

SpectrumMap readSpectra(const boost::json::value& value)
{
    return boost::json::value_to<SpectrumMap>(value);
}

std::string readString(const boost::json::value& value)
{
    return StrictJson::read<std::string>(value);
}

} // namespace CalibrationDataJson
