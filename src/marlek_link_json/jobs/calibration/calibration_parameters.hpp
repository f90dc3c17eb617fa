#pragma once
// Parameter records of the calibrate job and of the calibration-data service
// jobs. calibration_type, calibration_path, indexes and paths select what is
// calibrated or which stored item is meant; the library passes them on
// unchanged.

#include "marlek_json_common/json_common/vector.hpp"
#include "marlek_link_json/jobs/calibration/calibration_types.hpp"
#include "marlek_link_json/jobs/parameter_object_json.hpp"

#include <boost/describe/class.hpp>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The calibrate job's record as the caller gives it, with a typed
// calibration type; the job sends it as CalibrateParametersString.
struct CalibrateParameters {
    CalibrationTypesEnum calibration_type = CalibrationTypesEnum::DC;
    std::string calibration_path;
    std::vector<std::uint64_t> indexes;
    std::vector<std::string> paths;

    friend bool operator==(const CalibrateParameters&, const CalibrateParameters&) = default;
};

// Job "calibrate", as sent: {"calibration_type", "calibration_path",
// "indexes", "paths"}.
struct CalibrateParametersString {
    std::string calibration_type;
    std::string calibration_path;
    std::vector<std::uint64_t> indexes;
    std::vector<std::string> paths;

    friend bool operator==(const CalibrateParametersString&, const CalibrateParametersString&) = default;
};
BOOST_DESCRIBE_STRUCT(CalibrateParametersString, (), (calibration_type, calibration_path, indexes, paths))

// Job "set_calibration_data": writes one calibration data item. data_type
// ("float", "float_vector", "spectra" or "string") says which of the four
// value fields is sent; the other three are ignored. Its JSON form is
// calibration_parameters_json.hpp.
struct SetCalibrationDataParameters {
    std::string calibration_type;
    std::string calibration_path;
    std::vector<std::uint64_t> indexes;
    std::string data_type;
    double float_data = 0.0;
    std::vector<double> float_vector_data;
    SpectrumMap spectra_data;
    std::string string_data;

    friend bool operator==(const SetCalibrationDataParameters&, const SetCalibrationDataParameters&) = default;
};

// Job "get_calibration_data": names the stored item to read.
struct GetCalibrationDataParameters {
    std::string calibration_type;
    std::string calibration_path;
    std::vector<std::uint64_t> indexes;

    friend bool operator==(const GetCalibrationDataParameters&, const GetCalibrationDataParameters&) = default;
};
BOOST_DESCRIBE_STRUCT(GetCalibrationDataParameters, (), (calibration_type, calibration_path, indexes))

// Written as "calibration_type", "calibration_path", "indexes_element" with
// one "index" per index and "paths_element" with one "path" per path. Job
// information of a calibration is never rebuilt with its parameters, so
// there is no reader.
template <>
struct ParameterXmlForm<CalibrateParametersString> {
    static void write(const CalibrateParametersString& record, tinyxml2::XMLElement* parameters);
    static std::optional<CalibrateParametersString> read(const tinyxml2::XMLElement*) { return std::nullopt; }
};

template <>
struct ParameterXmlForm<SetCalibrationDataParameters> : NoParameterXmlForm {};

template <>
struct ParameterXmlForm<GetCalibrationDataParameters> : NoParameterXmlForm {};
