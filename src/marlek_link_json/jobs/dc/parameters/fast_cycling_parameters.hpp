#pragma once

#include <boost/describe/class.hpp>

// Job "fast_cycling": a whole charge/discharge cycling as one job, so no dead
// time lies between cycles. Each cycle holds first_step, then second_step,
// each for step_time or, with turn_limit_check, until a turn boundary is
// crossed; afterwards the output goes to end_value.
struct FastCyclingParameters {
    double first_step = 0.0;
    double second_step = 0.0;
    double end_value = 0.0;
    double step_time = 0.0;
    double output_data_rate = 0.0;
    // 0.5 runs first_step only.
    double num_cycles = 0.0;
    bool autorange = false;
    double current_range = 0.0;
    bool turn_limit_check = false;
    double upper_turn_boundary = 0.0;
    double lower_turn_boundary = 0.0;

    friend bool operator==(const FastCyclingParameters&, const FastCyclingParameters&) = default;
};
BOOST_DESCRIBE_STRUCT(FastCyclingParameters, (),
                      (first_step, second_step, end_value, step_time, output_data_rate, num_cycles, autorange,
                       current_range, turn_limit_check, upper_turn_boundary, lower_turn_boundary))
