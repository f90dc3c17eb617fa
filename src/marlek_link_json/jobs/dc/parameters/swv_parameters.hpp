#pragma once

#include <boost/describe/class.hpp>

// Job "swv": square wave voltammetry, a staircase with a rectangular pulse of
// `amplitude` on every step; each pulse lasts half a `period`.
struct SwvParameters {
    double start_value = 0.0;
    double step_value = 0.0;
    double amplitude = 0.0;
    double end_value = 0.0;
    double period = 0.0;
    double output_data_rate = 0.0;
    double current_range = 0.0;

    friend bool operator==(const SwvParameters&, const SwvParameters&) = default;
};
// The wire order differs from the declaration order; both are fixed.
BOOST_DESCRIBE_STRUCT(SwvParameters, (),
                      (output_data_rate, current_range, start_value, step_value, amplitude, end_value, period))
