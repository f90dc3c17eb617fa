#pragma once

#include <boost/describe/class.hpp>

// Job "ocv": records the open-circuit voltage for at most `duration`.
struct OcvParameters {
    double duration = 0.0;
    double output_data_rate = 0.0;

    friend bool operator==(const OcvParameters&, const OcvParameters&) = default;
};
BOOST_DESCRIBE_STRUCT(OcvParameters, (), (duration, output_data_rate))
