#pragma once

#include "marlek_link_json/jobs/calibration/calibration_parameters.hpp"

#include <boost/json/conversion.hpp>
#include <boost/json/fwd.hpp>

// {"calibration_type", "calibration_path", "indexes", "data"}, where "data" is
// {"type": data_type} plus, when data_type is exactly one of the four data
// type texts, "value" from the matching field.
void tag_invoke(const boost::json::value_from_tag&, boost::json::value& target,
                const SetCalibrationDataParameters& parameters);

// Reads what the writer produces, strictly: every key present and of its
// kind, and "value" for the four data type texts; the record's other value
// fields stay empty. Raises boost::system::system_error (or the spectrum key
// parser's errors).
SetCalibrationDataParameters tag_invoke(const boost::json::value_to_tag<SetCalibrationDataParameters>&,
                                        const boost::json::value& source);
