#pragma once

#include "marlek_json_common/json_common/configuration/user_polynomial.hpp"
#include "marlek_json_common/json_common/protocol/columnheader.hpp"

#include <string>
#include <vector>

// One potentiostat of an impedance measurement.
struct PotentiostatDataHeader {
    std::string uri;
    std::vector<ColumnHeader> columns;
    UserPolynomial polynomial;

    // The polynomial takes no part.
    friend bool operator==(const PotentiostatDataHeader& a, const PotentiostatDataHeader& b)
    {
        return a.uri == b.uri && a.columns == b.columns;
    }
};
