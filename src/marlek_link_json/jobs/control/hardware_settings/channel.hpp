#pragma once

#include "marlek_json_common/json_common/configuration/user_polynomial.hpp"

#include <boost/describe/class.hpp>

#include <string>

// One sampled channel of the hardware settings.
struct Channel {
    // A signal path such as "MAIN:1:POT:U~ZMU:1:ZMU_U", or the path of an
    // add-on card connector such as "ZMU4:1:CH2~ZMU4:1:ADC2".
    std::string uri;
    std::string dimension;
    std::string unit;
    // Computes the channel's DC value; also applied in the impedance
    // calculation.
    UserPolynomial polynomial;

    friend bool operator==(const Channel&, const Channel&) = default;
};
BOOST_DESCRIBE_STRUCT(Channel, (), (uri, dimension, unit, polynomial))
