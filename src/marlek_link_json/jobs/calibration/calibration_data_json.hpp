#pragma once
// The calibration data object {"type": text, "value": ...} that carries one
// calibration data item: in "data" of a set-calibration-data request and in
// "result"."data" of a get-calibration-data completion. "value" is by type:
// "float" a JSON number, "float_vector" an array of numbers, "spectra" the
// spectrum object, "string" a JSON string.

#include "marlek_json_common/json_common/vector.hpp"
#include "marlek_link_json/jobs/calibration/calibration_types.hpp"

#include <boost/json/fwd.hpp>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace CalibrationDataJson {

// The type text of a data object, exact and case-sensitive; none for any
// other text.
std::optional<CalibrationDataTypeEnum> dataTypeFromText(std::string_view text);

// The readers of a "value" raise boost::system::system_error with Boost.JSON's
// code when the value does not fit its type (the spectrum's key parser raises
// std::invalid_argument or std::out_of_range for a key that is no number).

// Only a JSON floating-point number: an integer such as 1 is refused with
// not_double.
double readFloat(const boost::json::value& value);
// An array of numbers, integers converted (not_array, not_number).
std::vector<double> readFloatVector(const boost::json::value& value);
SpectrumMap readSpectra(const boost::json::value& value);
// not_string for anything but a JSON string.
std::string readString(const boost::json::value& value);

} // namespace CalibrationDataJson
