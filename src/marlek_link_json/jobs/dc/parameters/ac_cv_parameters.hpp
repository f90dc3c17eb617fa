#pragma once

#include <boost/describe/class.hpp>

// Job "ac_cv": a cyclic voltammetry scan with an AC signal on top; the first
// thirteen fields mean what they mean in CvParameters.
struct AcCvParameters {
    double start_value = 0.0;
    double first_vertex = 0.0;
    double second_vertex = 0.0;
    double end_value = 0.0;
    double scan_rate = 0.0;
    double output_data_rate = 0.0;
    double num_cycles = 0.0;
    bool autorange = false;
    double current_range = 0.0;
    bool turn_limit_check = false;
    double upper_turn_boundary = 0.0;
    double lower_turn_boundary = 0.0;
    double step_height = 0.0;
    double ac_amplitude = 0.0;
    double ac_frequency = 0.0;

    friend bool operator==(const AcCvParameters&, const AcCvParameters&) = default;
};
BOOST_DESCRIBE_STRUCT(AcCvParameters, (),
                      (start_value, first_vertex, second_vertex, end_value, scan_rate, output_data_rate, num_cycles,
                       autorange, current_range, turn_limit_check, upper_turn_boundary, lower_turn_boundary,
                       step_height, ac_amplitude, ac_frequency))
