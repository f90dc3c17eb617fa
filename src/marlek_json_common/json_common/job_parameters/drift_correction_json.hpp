#pragma once

#include "marlek_json_common/json_common/job_parameters/drift_correction.hpp"

#include <boost/json/fwd.hpp>

#include <optional>

// No value unless "drift_correction" is a string naming FULL, DC_ONLY or OFF
// exactly (case-sensitive).
std::optional<DriftCorrection> readOptionalDriftCorrection(const boost::json::object& object);

// Sets (or replaces) "drift_correction" when the optional holds a value; an
// empty optional leaves the object untouched.
void writeOptionalDriftCorrection(boost::json::object& object, const std::optional<DriftCorrection>& driftCorrection);
