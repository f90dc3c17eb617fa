#pragma once

#include "marlek_json_common/json_common/configuration/user_polynomial.hpp"

#include <boost/describe/class.hpp>

#include <string>

// A potentiostat the measurement methods are output on.
struct PotentiostatConfiguration {
    // "MAIN:1:POT", "XPC:1:EXT2:POT" or a urn such as "354531:POT"; the
    // workstation reports potentiostats it cannot reach with "nc:" in it.
    std::string uri;
    // Scales the potentiostatic output for the reference electrode and the
    // FRA.
    UserPolynomial potentiostatic_polynomial;
    // Scales the galvanostatic output for the FRA.
    UserPolynomial galvanostatic_polynomial;

    friend bool operator==(const PotentiostatConfiguration&, const PotentiostatConfiguration&) = default;
};
BOOST_DESCRIBE_STRUCT(PotentiostatConfiguration, (), (uri, potentiostatic_polynomial, galvanostatic_polynomial))
