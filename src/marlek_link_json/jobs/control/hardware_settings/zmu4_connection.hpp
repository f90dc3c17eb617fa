#pragma once

#include "marlek_json_common/json_common/configuration/user_polynomial.hpp"

#include <cstdint>
#include <string>

// One input connector of a ZMU4 add-on card and how its channel is reported.
struct Zmu4Connection {
    std::uint64_t card_index = 0;
    std::uint64_t connector_index = 0;
    UserPolynomial polynomial;
    // Empty: the builders derive one.
    std::string dimension;
    // Empty: some builders derive one.
    std::string unit;

    // "ZMU4:{card}:CH{connector}~ZMU4:{card}:ADC{connector}"
    std::string getPath() const;
    // "ZMU4-{card}-CH{connector}"
    std::string getChannelName() const;

    // Card, connector, polynomial, dimension, unit; the first that differs
    // decides.
    bool operator<(const Zmu4Connection& other) const;

    friend bool operator==(const Zmu4Connection&, const Zmu4Connection&) = default;
};

// An impedance between two ZMU4 connectors. An empty name is derived from
// the two channel names.
struct Zmu4ImpedanceConfiguration {
    Zmu4Connection numerator;
    Zmu4Connection denominator;
    std::string impedance_name;
};
