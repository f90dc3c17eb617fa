#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

// Cuts a DC binary table into `columnCount` tracks of size / (8 x columns)
// values each; no tracks for zero columns. The row count comes from the
// bytes actually present, so a short table can never be over-read.
std::vector<std::vector<double>> splitDcTableColumns(std::string_view table, std::size_t columnCount);
