#pragma once

// Duration arguments: a datetime.timedelta or a float number of seconds,
// as whole milliseconds truncated toward zero. An int or None does not
// convert. What converts but has no place in a signed 64-bit count of
// milliseconds (infinity, NaN, timedelta.max) is kept as "out of range",
// for the function to refuse with a ValueError before the core sees it.

#include <pybind11/pybind11.h>

#include <chrono>
#include <optional>

// The longest wait the steady clock can count from its present reading,
// with room for the time it has already counted.
inline constexpr std::chrono::milliseconds kLongestClockWait =
    std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::duration::max()) / 2;

struct DurationArg {
    // Empty when the value is out of range.
    std::optional<std::chrono::milliseconds> milliseconds;

    // The value, or a ValueError naming `what` when it is out of range or
    // outside [lowest, highest].
    std::chrono::milliseconds checked(const char* what, std::chrono::milliseconds lowest,
                                      std::chrono::milliseconds highest) const;
};

namespace pybind11::detail {

template <>
struct type_caster<DurationArg> {
    PYBIND11_TYPE_CASTER(DurationArg, const_name("datetime.timedelta"));

    bool load(handle source, bool convert);
};

} // namespace pybind11::detail
