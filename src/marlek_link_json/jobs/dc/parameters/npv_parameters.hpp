#pragma once

#include <boost/describe/class.hpp>

// Job "npv": normal pulse voltammetry. The waveform rests on base_value; the
// pulses go from start_value towards end_value by step_value each.
struct NpvParameters {
    double base_value = 0.0;
    double start_value = 0.0;
    double step_value = 0.0;
    double end_value = 0.0;
    double step_time = 0.0;
    double pulse_time = 0.0;
    double output_data_rate = 0.0;
    double current_range = 0.0;

    friend bool operator==(const NpvParameters&, const NpvParameters&) = default;
};
// The wire order differs from the declaration order; both are fixed.
BOOST_DESCRIBE_STRUCT(NpvParameters, (),
                      (output_data_rate, current_range, base_value, start_value, step_value, end_value, step_time,
                       pulse_time))
