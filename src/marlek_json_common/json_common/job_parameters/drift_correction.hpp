#pragma once

#include <boost/describe/enum.hpp>

#include <cstdint>
#include <string_view>

// How much drift correction the workstation applies to an impedance
// measurement; records carry it as an optional, and without a value the
// workstation applies FULL.
enum class DriftCorrection : std::int32_t {
    FULL = 0,
    DC_ONLY = 1,
    OFF = 2,
};
BOOST_DESCRIBE_ENUM(DriftCorrection, FULL, DC_ONLY, OFF)

// JSON key of the drift correction in the impedance parameter records.
inline constexpr std::string_view DRIFT_CORRECTION_KEY = "drift_correction";
