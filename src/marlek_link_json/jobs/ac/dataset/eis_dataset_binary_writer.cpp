#include "marlek_link_json/jobs/ac/dataset/eis_dataset_binary_writer.hpp"

#include "marlek_link_json/jobs/ac/dataset/eis_column_groups.hpp"
#include "marlek_link_json/jobs/ac/dataset/eis_wave_ids.hpp"
#include "marlek_link_json/jobs/dataset/track_names.hpp"

#include <bit>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

static_assert(std::endian::native == std::endian::little,
              "the impedance table holds little-endian doubles and is copied without conversion");

namespace {

constexpr std::size_t VALUE_SIZE = sizeof(double);

ErrorObject contentInvalid(std::string detail)
{
    return ErrorObject(ErrorCodeEnum::RESOURCE_CONTENT_INVALID, "resource content invalid: {0}", std::move(detail));
}

std::optional<ErrorObject> checkColumnLength(const std::string& what, const std::string& dimension,
                                             const std::vector<double>& column, std::size_t rows)
{
    if (column.size() == rows) {
        return std::nullopt;
    }
    return contentInvalid("EIS " + what + " column '" + dimension + "' has " + std::to_string(column.size())
                          + " values but the dataset has " + std::to_string(rows) + " rows");
}

// Every column of every object must hold one value per row: a short column
// would shift all later ones and the table would read back wrong.
template <typename Header, typename Getter>
std::optional<ErrorObject> checkGroups(const std::vector<Header>& headers, const std::string& kind,
                                       std::size_t rows, Getter track)
{
    for (std::size_t k = 0; k < headers.size(); ++k) {
        const auto& columns = columnsOf(headers[k]);
        for (std::size_t l = 0; l < columns.size(); ++l) {
            if (auto error = checkColumnLength(kind + " " + std::to_string(k), columns[l].dimension, track(k, l),
                                               rows)) {
                return error;
            }
        }
    }
    return std::nullopt;
}

template <typename Header, typename Getter>
void appendGroups(std::string& data, const std::vector<Header>& headers, Getter track)
{
    for (std::size_t k = 0; k < headers.size(); ++k) {
        const std::size_t columns = columnsOf(headers[k]).size();
        for (std::size_t l = 0; l < columns; ++l) {
            const std::vector<double>& values = track(k, l);
            data.append(reinterpret_cast<const char*>(values.data()), values.size() * VALUE_SIZE);
        }
    }
}

// The waves the rows name must be exactly those the paths hold.
std::optional<ErrorObject> checkWaves(const EisDataset& dataset, std::size_t pathCount,
                                      const std::vector<double>& waveIds, const std::vector<double>& waveSizes,
                                      std::uint64_t waveCount)
{
    std::vector<std::uint64_t> lengths;
    for (std::size_t k = 0; k < pathCount; ++k) {
        const auto& waves = dataset.getPathWaves(k);
        if (waves.size() != waveCount) {
            return contentInvalid("sync path " + std::to_string(k) + " holds " + std::to_string(waves.size())
                                  + " waves but the meta columns declare " + std::to_string(waveCount));
        }
        // Only now bounded by waves that exist.
        if (k == 0) {
            lengths = eisWaveLengths(waveIds, &waveSizes, waveCount);
        }
        for (std::size_t l = 0; l < waves.size(); ++l) {
            if (waves[l].size() != lengths[l]) {
                return contentInvalid("wave " + std::to_string(l) + " of sync path " + std::to_string(k) + " has "
                                      + std::to_string(waves[l].size()) + " samples but wave_size declares "
                                      + std::to_string(lengths[l]));
            }
        }
    }
    return std::nullopt;
}

} // namespace

std::expected<EisBinaryTable, ErrorObject> eisDatasetToBinary(const EisDataset& dataset)
{
    const LiveDataHeaderEis& header = dataset.getHeader();
    const std::size_t rows = dataset.getRowCount();
    const std::size_t pathCount = header.getPaths().size();

    std::vector<ColumnHeader> metaColumns = header.getMetaColumns();
    std::vector<std::vector<double>> metaValues;
    metaValues.reserve(metaColumns.size() + 2);
    for (std::size_t i = 0; i < metaColumns.size(); ++i) {
        metaValues.push_back(dataset.getMetaColumn(i));
    }

    bool hasWaves = false;
    for (std::size_t k = 0; k < pathCount; ++k) {
        hasWaves = hasWaves || !dataset.getPathWaves(k).empty();
    }
    if (hasWaves
        && (EisDataset::indexOfDimension(metaColumns, TrackNames::WAVE_ID) < 0
            || EisDataset::indexOfDimension(metaColumns, TrackNames::WAVE_SIZE) < 0)) {
        std::vector<double> ids(rows);
        std::vector<double> sizes(rows);
        for (std::size_t r = 0; r < rows; ++r) {
            ids[r] = static_cast<double>(dataset.getWaveIdForRow(r));
            sizes[r] = static_cast<double>(dataset.getWaveForRow(std::size_t{0}, r).size());
        }
        metaColumns.emplace_back(TrackNames::WAVE_ID, "", "");
        metaColumns.emplace_back(TrackNames::WAVE_SIZE, "", "");
        metaValues.push_back(std::move(ids));
        metaValues.push_back(std::move(sizes));
    }

    for (std::size_t i = 0; i < metaColumns.size(); ++i) {
        if (auto error = checkColumnLength("meta", metaColumns[i].dimension, metaValues[i], rows)) {
            return std::unexpected(std::move(*error));
        }
    }
    const auto impedanceTrack = [&](std::size_t k, std::size_t l) -> const std::vector<double>& {
        return dataset.getImpedancesMetaData(k, l);
    };
    const auto pathTrack = [&](std::size_t k, std::size_t l) -> const std::vector<double>& {
        return dataset.getPathMetaData(k, l);
    };
    const auto asyncPathTrack = [&](std::size_t k, std::size_t l) -> const std::vector<double>& {
        return dataset.getAsyncPathData(k, l);
    };
    const auto potentiostatTrack = [&](std::size_t k, std::size_t l) -> const std::vector<double>& {
        return dataset.getPotentiostatsMetaData(k, l);
    };
    for (auto error : {checkGroups(header.getImpedances(), "impedance", rows, impedanceTrack),
                       checkGroups(header.getPaths(), "sync path", rows, pathTrack),
                       checkGroups(header.getAsyncPaths(), "async path", rows, asyncPathTrack),
                       checkGroups(header.getPotentiostats(), "potentiostat", rows, potentiostatTrack)}) {
        if (error) {
            return std::unexpected(std::move(*error));
        }
    }

    std::uint64_t waveCount = 0;
    const std::int64_t waveIdIndex = EisDataset::indexOfDimension(metaColumns, TrackNames::WAVE_ID);
    const std::int64_t waveSizeIndex = EisDataset::indexOfDimension(metaColumns, TrackNames::WAVE_SIZE);
    if (hasWaves && waveIdIndex >= 0 && waveSizeIndex >= 0) {
        const auto& ids = metaValues[static_cast<std::size_t>(waveIdIndex)];
        const auto& sizes = metaValues[static_cast<std::size_t>(waveSizeIndex)];
        waveCount = eisWaveCount(ids, std::numeric_limits<std::uint64_t>::max());
        if (auto error = checkWaves(dataset, pathCount, ids, sizes, waveCount)) {
            return std::unexpected(std::move(*error));
        }
    }

    EisBinaryTable result;
    for (const auto& values : metaValues) {
        result.data.append(reinterpret_cast<const char*>(values.data()), values.size() * VALUE_SIZE);
    }
    appendGroups(result.data, header.getImpedances(), impedanceTrack);
    appendGroups(result.data, header.getPaths(), pathTrack);
    appendGroups(result.data, header.getAsyncPaths(), asyncPathTrack);
    appendGroups(result.data, header.getPotentiostats(), potentiostatTrack);
    for (std::size_t k = 0; k < pathCount && waveCount != 0; ++k) {
        for (const auto& wave : dataset.getPathWaves(k)) {
            result.data.append(reinterpret_cast<const char*>(wave.data()), wave.size() * VALUE_SIZE);
        }
    }
    result.header = LiveDataHeaderEis(header.getMeasurementType(), header.getShortMeasurementType(),
                                      std::move(metaColumns), header.getImpedances(), header.getPaths(),
                                      header.getAsyncPaths(), header.getPotentiostats());
    result.number_of_rows = rows;
    return result;
}
