#pragma once

#include <boost/describe/class.hpp>

// Job "steady_stairs": a staircase whose steps end when the measured quantity
// changes by less than stability_tolerance per second (checked from
// hold_time on), at the latest after step_time.
struct SteadyStairsParameters {
    double start_value = 0.0;
    double end_value = 0.0;
    double step_time = 0.0;
    double step_height = 0.0;
    double hold_time = 0.0;
    double stability_tolerance = 0.0;
    double output_data_rate = 0.0;
    bool autorange = false;
    double current_range = 0.0;

    friend bool operator==(const SteadyStairsParameters&, const SteadyStairsParameters&) = default;
};
BOOST_DESCRIBE_STRUCT(SteadyStairsParameters, (),
                      (start_value, end_value, step_time, step_height, hold_time, stability_tolerance,
                       output_data_rate, autorange, current_range))
