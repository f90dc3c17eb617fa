#include "marlek_link_json/jobs/ac/dataset/eis_dataset_rows.hpp"

#include "marlek_link_json/jobs/ac/dataset/eis_wave_ids.hpp"

#include <algorithm>
#include <cstdint>
#include <cstddef>
#include <iostream>
#include <optional>

namespace {

bool isInside(long long index, std::size_t size)
{
    return index >= 0 && static_cast<unsigned long long>(index) < size;
}

} // namespace

void appendArray(std::vector<std::vector<double>>& columns, const std::vector<double>& row)
{
    if (columns.size() != row.size()) {
        std::cout << "SIZE MISMATCH" << std::endl;
        return;
    }
    for (std::size_t i = 0; i < row.size(); ++i) {
        columns[i].push_back(row[i]);
    }
}

void appendArrayOfArrays(std::vector<std::vector<std::vector<double>>>& groups,
                         const std::vector<std::vector<double>>& values)
{
    if (groups.size() != values.size()) {
        std::cout << "SIZE MISMATCH" << std::endl;
        return;
    }
    for (std::size_t i = 0; i < values.size(); ++i) {
        appendArray(groups[i], values[i]);
    }
}

long long dedupWaves(std::vector<std::vector<std::vector<double>>>& waves,
                     const std::vector<std::vector<double>>& rowWaves, long long waveIdColumn,
                     const std::vector<double>& metaRow, std::map<long long, long long>& waveIndexByWaveId)
{
    const bool carriesWave =
        std::any_of(rowWaves.begin(), rowWaves.end(), [](const auto& wave) { return !wave.empty(); });
    std::optional<std::int64_t> key = static_cast<std::int64_t>(waveIndexByWaveId.size());
    if (isInside(waveIdColumn, metaRow.size())) {
        key = roundedWaveId(metaRow[static_cast<std::size_t>(waveIdColumn)]);
    }
    if (!key.has_value() || *key < 0) {
        return -1;
    }
    if (const auto found = waveIndexByWaveId.find(*key); found != waveIndexByWaveId.end()) {
        return found->second;
    }
    if (!carriesWave) {
        return -1;
    }
    const auto index = static_cast<long long>(waveIndexByWaveId.size());
    waveIndexByWaveId.emplace(*key, index);
    if (waves.size() < rowWaves.size()) {
        waves.resize(rowWaves.size());
    }
    // A path the row has no wave for gets an empty one, and a path that
    // appears late starts with empty waves for the earlier indices, so that
    // one index names the same row's waves on every path.
    const auto position = static_cast<std::size_t>(index);
    for (std::size_t i = 0; i < waves.size(); ++i) {
        if (waves[i].size() < position) {
            waves[i].resize(position);
        }
        waves[i].push_back(i < rowWaves.size() ? rowWaves[i] : std::vector<double>{});
    }
    return index;
}

void appendMetaWithWaveId(std::vector<std::vector<double>>& meta, const std::vector<double>& metaRow,
                          long long waveIdColumn, long long waveIndex)
{
    std::vector<double> row = metaRow;
    if (isInside(waveIdColumn, row.size())) {
        row[static_cast<std::size_t>(waveIdColumn)] = static_cast<double>(waveIndex);
    }
    appendArray(meta, row);
}
