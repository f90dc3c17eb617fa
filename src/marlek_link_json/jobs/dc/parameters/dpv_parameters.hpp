#pragma once

#include <boost/describe/class.hpp>

// Job "dpv": differential pulse voltammetry, a staircase with a pulse on
// every step. step_time should be at least twice pulse_time; the workstation
// judges that.
struct DpvParameters {
    double start_value = 0.0;
    double step_value = 0.0;
    double pulse_value = 0.0;
    double end_value = 0.0;
    double step_time = 0.0;
    double pulse_time = 0.0;
    bool invert_pulse = false;
    double output_data_rate = 0.0;
    double current_range = 0.0;

    friend bool operator==(const DpvParameters&, const DpvParameters&) = default;
};
// The wire order differs from the declaration order; both are fixed.
BOOST_DESCRIBE_STRUCT(DpvParameters, (),
                      (output_data_rate, current_range, start_value, step_value, pulse_value, invert_pulse,
                       end_value, step_time, pulse_time))
