#pragma once

#include "marlek_json_common/json_common/protocol/columnheader.hpp"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace fake_workstation {

// The little-endian bytes of doubles, spelt out from their bit patterns so
// that an expectation does not depend on the host's memory layout.
inline std::string littleEndian(const std::vector<double>& values)
{
    std::string bytes;
    for (const double value : values) {
        std::uint64_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        for (int i = 0; i < 8; ++i) {
            bytes.push_back(static_cast<char>((bits >> (8 * i)) & 0xFF));
        }
    }
    return bytes;
}

// Equal lengths and equal values, a NaN matching only a NaN.
inline bool sameValues(const std::vector<double>& a, const std::vector<double>& b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::isnan(a[i]) != std::isnan(b[i]) || (!std::isnan(a[i]) && a[i] != b[i])) {
            return false;
        }
    }
    return true;
}

inline std::vector<std::string> dimensionsOf(const std::vector<ColumnHeader>& columns)
{
    std::vector<std::string> dimensions;
    for (const auto& column : columns) {
        dimensions.push_back(column.dimension);
    }
    return dimensions;
}

} // namespace fake_workstation
