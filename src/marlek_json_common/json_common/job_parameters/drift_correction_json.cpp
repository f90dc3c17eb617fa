#include "marlek_json_common/json_common/job_parameters/drift_correction_json.hpp"

#include <boost/json.hpp>

std::optional<DriftCorrection> readOptionalDriftCorrection(const boost::json::object& object)
{
    const auto* member = object.if_contains(DRIFT_CORRECTION_KEY);
    if (member == nullptr || !member->is_string()) {
        return std::nullopt;
    }
    const std::string_view text = member->get_string();
    if (text == "FULL") {
        return DriftCorrection::FULL;
    }
    if (text == "DC_ONLY") {
        return DriftCorrection::DC_ONLY;
    }
    if (text == "OFF") {
        return DriftCorrection::OFF;
    }
    return std::nullopt;
}

void writeOptionalDriftCorrection(boost::json::object& object, const std::optional<DriftCorrection>& driftCorrection)
{
    if (!driftCorrection) {
        return;
    }
    std::string_view text = "FULL";
    if (*driftCorrection == DriftCorrection::DC_ONLY) {
        text = "DC_ONLY";
    } else if (*driftCorrection == DriftCorrection::OFF) {
        text = "OFF";
    }
    object[DRIFT_CORRECTION_KEY] = text;
}
