#include "marlek_link_json/jobs/dc/dataset/dc_table_columns.hpp"

#include "marlek_link_json/jobs/dataset/raw_doubles.hpp"

std::vector<std::vector<double>> splitDcTableColumns(std::string_view table, std::size_t columnCount)
{
    if (columnCount == 0) {
        return {};
    }
    const std::size_t rows = table.size() / (sizeof(double) * columnCount);
    std::vector<std::vector<double>> tracks;
    tracks.reserve(columnCount);
    for (std::size_t i = 0; i < columnCount; ++i) {
        tracks.push_back(doublesFromBytes(table.data() + i * rows * sizeof(double), rows));
    }
    return tracks;
}
