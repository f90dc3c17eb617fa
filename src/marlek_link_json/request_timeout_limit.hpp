#pragma once

#include <chrono>
#include <climits>

// The longest request time-out a session keeps: requests count their
// time-outs in an int, and a download waits three times the request's.
inline constexpr std::chrono::milliseconds longestRequestTimeout{INT_MAX / 3};
