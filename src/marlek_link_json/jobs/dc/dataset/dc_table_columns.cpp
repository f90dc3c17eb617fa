#include "marlek_link_json/jobs/dc/dataset/dc_table_columns.hpp"

#include <cstring>

std::vector<std::vector<double>> splitDcTableColumns(std::string_view table, std::size_t columnCount)
{
    if (columnCount == 0) {
        return {};
    }
    const std::size_t rows = table.size() / (sizeof(double) * columnCount);
    std::vector<std::vector<double>> tracks(columnCount, std::vector<double>(rows));
    for (std::size_t i = 0; i < columnCount; ++i) {
        if (rows != 0) {
            std::memcpy(tracks[i].data(), table.data() + i * rows * sizeof(double), rows * sizeof(double));
        }
    }
    return tracks;
}
