#pragma once

#include <boost/describe/class.hpp>

// Job "poga": holds `bias`, potentiostatically or galvanostatically, for at
// most `duration`.
struct PogaParameters {
    double bias = 0.0;
    double duration = 0.0;
    double output_data_rate = 0.0;
    bool autorange = false;
    double current_range = 0.0;

    friend bool operator==(const PogaParameters&, const PogaParameters&) = default;
};
BOOST_DESCRIBE_STRUCT(PogaParameters, (), (bias, duration, output_data_rate, autorange, current_range))
