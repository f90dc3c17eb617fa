#pragma once

#include <string>

// One data column: the measured quantity, its unit and the column's device
// address (empty when not given).
struct ColumnHeader {
    std::string dimension;
    std::string unit;
    std::string urn;

    ColumnHeader() = default;
    ColumnHeader(std::string dimension, std::string unit);
    ColumnHeader(std::string dimension, std::string unit, std::string urn);

    friend bool operator==(const ColumnHeader&, const ColumnHeader&) = default;
};
