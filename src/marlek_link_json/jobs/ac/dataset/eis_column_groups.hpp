#pragma once

#include "marlek_json_common/json_common/protocol/columnheader.hpp"

#include <vector>

// Column containers of one kind of object, indexed [object][column][row].
using EisColumnGroups = std::vector<std::vector<std::vector<double>>>;

// The column headers of an impedance, path or potentiostat header (the last
// is a plain record).
template <typename Header>
const std::vector<ColumnHeader>& columnsOf(const Header& header)
{
    if constexpr (requires { header.columns; }) {
        return header.columns;
    } else {
        return header.getColumns();
    }
}

// One entry per header with one empty column per column header.
template <typename Header>
EisColumnGroups emptyColumnGroups(const std::vector<Header>& headers)
{
    EisColumnGroups groups;
    groups.reserve(headers.size());
    for (const auto& header : headers) {
        groups.emplace_back(columnsOf(header).size());
    }
    return groups;
}
