#pragma once

#include <boost/describe/class.hpp>

// Job "ramp": a sweep from start_value to end_value at scan_rate.
struct RampParameters {
    double start_value = 0.0;
    double end_value = 0.0;
    double scan_rate = 0.0;
    // 0 selects the smallest step size.
    double step_height = 0.0;
    double output_data_rate = 0.0;
    bool autorange = false;
    double current_range = 0.0;

    friend bool operator==(const RampParameters&, const RampParameters&) = default;
};
// The wire order differs from the declaration order, which callers rely on
// for aggregate initialisation; both are fixed.
BOOST_DESCRIBE_STRUCT(RampParameters, (),
                      (output_data_rate, current_range, start_value, end_value, scan_rate, step_height, autorange))
