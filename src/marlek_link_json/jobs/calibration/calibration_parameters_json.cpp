#include "marlek_link_json/jobs/calibration/calibration_parameters_json.hpp"

#include "marlek_json_common/json_common/json/strict_reader.hpp"
#include "marlek_json_common/json_common/protocol/json_members.hpp"
#include "marlek_link_json/jobs/calibration/calibration_data_json.hpp"

#include <boost/json.hpp>

namespace {

boost::json::object dataObject(const SetCalibrationDataParameters& parameters)
{
    boost::json::object data;
    data["type"] = parameters.data_type;
    const auto type = CalibrationDataJson::dataTypeFromText(parameters.data_type);
    if (!type) {
        return data;
    }
    switch (*type) {
    case CalibrationDataTypeEnum::FLOAT:
        data["value"] = parameters.float_data;
        break;
    case CalibrationDataTypeEnum::FLOAT_VECTOR:
        data["value"] = boost::json::value_from(parameters.float_vector_data);
        break;
    case CalibrationDataTypeEnum::SPECTRA:
        data["value"] = boost::json::value_from(parameters.spectra_data);
        break;
    case CalibrationDataTypeEnum::STRING:
        data["value"] = parameters.string_data;
        break;
    case CalibrationDataTypeEnum::UNDEFINED:
        break;
    }
    return data;
}

const boost::json::value& requiredMember(const boost::json::object& object, std::string_view key)
{
    const auto* member = object.if_contains(key);
    if (member == nullptr) {
        jsonmembers::throwJsonError(boost::json::error::size_mismatch);
    }
    return *member;
}

const boost::json::object& asObject(const boost::json::value& value)
{
    const auto* object = value.if_object();
    if (object == nullptr) {
        jsonmembers::throwJsonError(boost::json::error::not_object);
    }
    return *object;
}

} // namespace

void tag_invoke(const boost::json::value_from_tag&, boost::json::value& target,
                const SetCalibrationDataParameters& parameters)
{
    boost::json::object object;
    object["calibration_type"] = parameters.calibration_type;
    object["calibration_path"] = parameters.calibration_path;
    object["indexes"] = boost::json::value_from(parameters.indexes);
    object["data"] = dataObject(parameters);
    target = std::move(object);
}

SetCalibrationDataParameters tag_invoke(const boost::json::value_to_tag<SetCalibrationDataParameters>&,
                                        const boost::json::value& source)
{
    const auto& object = asObject(source);
    SetCalibrationDataParameters parameters;
    parameters.calibration_type = StrictJson::read<std::string>(requiredMember(object, "calibration_type"));
    parameters.calibration_path = StrictJson::read<std::string>(requiredMember(object, "calibration_path"));
    parameters.indexes = StrictJson::read<std::vector<std::uint64_t>>(requiredMember(object, "indexes"));
    const auto& data = asObject(requiredMember(object, "data"));
    parameters.data_type = StrictJson::read<std::string>(requiredMember(data, "type"));
    const auto type = CalibrationDataJson::dataTypeFromText(parameters.data_type);
    if (!type) {
        return parameters;
    }
    const auto& value = requiredMember(data, "value");
    switch (*type) {
    case CalibrationDataTypeEnum::FLOAT:
        parameters.float_data = CalibrationDataJson::readFloat(value);
        break;
    case CalibrationDataTypeEnum::FLOAT_VECTOR:
        parameters.float_vector_data = CalibrationDataJson::readFloatVector(value);
        break;
    case CalibrationDataTypeEnum::SPECTRA:
        parameters.spectra_data = CalibrationDataJson::readSpectra(value);
        break;
    case CalibrationDataTypeEnum::STRING:
        parameters.string_data = CalibrationDataJson::readString(value);
        break;
    case CalibrationDataTypeEnum::UNDEFINED:
        break;
    }
    return parameters;
}
