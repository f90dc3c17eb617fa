#pragma once

#include <boost/describe/class.hpp>

// Job "cv": cyclic voltammetry from start_value over both vertices to
// end_value. Values are potentials when the potentiostat runs
// potentiostatically and currents when it runs galvanostatically.
struct CvParameters {
    double start_value = 0.0;
    double first_vertex = 0.0;
    double second_vertex = 0.0;
    double end_value = 0.0;
    double scan_rate = 0.0;
    double output_data_rate = 0.0;
    // A double on purpose: x.5 runs a half cycle.
    double num_cycles = 0.0;
    // The workstation supports it only up to an output_data_rate of 50 Hz.
    bool autorange = false;
    double current_range = 0.0;
    bool turn_limit_check = false;
    double upper_turn_boundary = 0.0;
    double lower_turn_boundary = 0.0;
    // 0 selects the smallest step size.
    double step_height = 0.0;
    // 0 disables the iR-drop compensation.
    double ir_drop = 0.0;

    friend bool operator==(const CvParameters&, const CvParameters&) = default;
};
BOOST_DESCRIBE_STRUCT(CvParameters, (),
                      (start_value, first_vertex, second_vertex, end_value, scan_rate, output_data_rate, num_cycles,
                       autorange, current_range, turn_limit_check, upper_turn_boundary, lower_turn_boundary,
                       step_height, ir_drop))
