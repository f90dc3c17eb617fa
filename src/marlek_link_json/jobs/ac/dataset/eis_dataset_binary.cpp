#include "marlek_link_json/jobs/ac/dataset/eis_dataset_binary.hpp"

#include "marlek_link_json/jobs/ac/dataset/eis_wave_ids.hpp"
#include "marlek_link_json/jobs/dataset/track_names.hpp"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

static_assert(std::endian::native == std::endian::little,
              "the impedance table holds little-endian doubles and is copied without conversion");

namespace {

using Groups = std::vector<std::vector<std::vector<double>>>;

constexpr std::size_t VALUE_SIZE = sizeof(double);

std::size_t saturatingAdd(std::size_t a, std::uint64_t b)
{
    return b > std::numeric_limits<std::size_t>::max() - a ? std::numeric_limits<std::size_t>::max()
                                                           : a + static_cast<std::size_t>(b);
}

// Reads the table front to back. A read that does not fit whole fills
// nothing but still moves the position on, so later blocks stay where the
// layout puts them.
class TableCursor {
public:
    explicit TableCursor(std::string_view table) : table(table), total(table.size() / VALUE_SIZE) {}

    std::size_t valueCount() const { return total; }
    std::size_t remaining() const { return position <= total ? total - position : 0; }

    bool fits(std::uint64_t count) const { return position <= total && count <= total - position; }

    // `count` values, or zeros when they are not all there.
    void readColumn(std::vector<double>& column, std::size_t count)
    {
        column.assign(count, 0.0);
        if (count != 0 && fits(count)) {
            std::memcpy(column.data(), table.data() + position * VALUE_SIZE, count * VALUE_SIZE);
        }
        position = saturatingAdd(position, count);
    }

    // `count` values, or none when they are not all there: a declared length
    // is not allowed to allocate beyond the table.
    void readWave(std::vector<double>& wave, std::uint64_t count)
    {
        if (count != 0 && fits(count)) {
            wave.resize(static_cast<std::size_t>(count));
            std::memcpy(wave.data(), table.data() + position * VALUE_SIZE, wave.size() * VALUE_SIZE);
        }
        position = saturatingAdd(position, count);
    }

private:
    std::string_view table;
    std::size_t total;
    std::size_t position = 0;
};

template <typename Header>
Groups shapedLike(const std::vector<Header>& headers)
{
    Groups groups;
    groups.reserve(headers.size());
    for (const auto& h : headers) {
        if constexpr (requires { h.columns; }) {
            groups.emplace_back(h.columns.size());
        } else {
            groups.emplace_back(h.getColumns().size());
        }
    }
    return groups;
}

std::size_t columnCount(const Groups& groups)
{
    std::size_t count = 0;
    for (const auto& group : groups) {
        count += group.size();
    }
    return count;
}

// The declared count when the column groups can hold it, otherwise what the
// table's size gives.
std::size_t rowCountOf(std::size_t declared, std::size_t values, std::size_t columns)
{
    const std::size_t available = columns == 0 ? values : values / columns;
    if (declared != 0 && declared <= available) {
        return declared;
    }
    return columns == 0 ? 0 : available;
}

void readGroups(TableCursor& cursor, Groups& groups, std::size_t rows)
{
    for (auto& group : groups) {
        for (auto& column : group) {
            cursor.readColumn(column, rows);
        }
    }
}

void readWavesByWaveId(TableCursor& cursor, Groups& pathWaves, const std::vector<double>& waveIds,
                       const std::vector<double>* waveSizes)
{
    // Even an empty wave costs a slot per path, so ids are bounded by how
    // many slots the table's size could justify.
    const std::size_t idLimit = pathWaves.empty() ? 0 : cursor.valueCount() / pathWaves.size();
    const std::uint64_t waveCount = eisWaveCount(waveIds, idLimit);
    const std::vector<std::uint64_t> lengths = eisWaveLengths(waveIds, waveSizes, waveCount);
    for (auto& waves : pathWaves) {
        waves.resize(lengths.size());
        for (std::size_t w = 0; w < lengths.size(); ++w) {
            cursor.readWave(waves[w], lengths[w]);
        }
    }
}

void readWavesOfFixedSize(TableCursor& cursor, Groups& pathWaves, std::size_t rows)
{
    if (pathWaves.empty() || rows == 0 || cursor.remaining() / pathWaves.size() < rows) {
        return;
    }
    const std::size_t samples = cursor.remaining() / (pathWaves.size() * rows);
    for (auto& waves : pathWaves) {
        waves.resize(rows);
        for (auto& wave : waves) {
            cursor.readWave(wave, samples);
        }
    }
}

bool usesWaveIdLayout(std::size_t protocolVersion)
{
    return protocolVersion == 0 || protocolVersion >= 10;
}

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
        const auto& columns = [&]() -> const std::vector<ColumnHeader>& {
            if constexpr (requires { headers[k].columns; }) {
                return headers[k].columns;
            } else {
                return headers[k].getColumns();
            }
        }();
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
        std::size_t columns = 0;
        if constexpr (requires { headers[k].columns; }) {
            columns = headers[k].columns.size();
        } else {
            columns = headers[k].getColumns().size();
        }
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

EisDataset eisDatasetFromBinary(std::string_view table, LiveDataHeaderEis&& header, std::size_t numberOfRows,
                                JobInfo&& jobInfo, std::size_t protocolVersion)
{
    const auto& metaColumns = header.getMetaColumns();
    const std::int64_t waveIdIndex = EisDataset::indexOfDimension(metaColumns, TrackNames::WAVE_ID);
    const std::int64_t waveSizeIndex = EisDataset::indexOfDimension(metaColumns, TrackNames::WAVE_SIZE);

    std::vector<std::vector<double>> meta(metaColumns.size());
    Groups impedances = shapedLike(header.getImpedances());
    Groups paths = shapedLike(header.getPaths());
    Groups asyncPaths = shapedLike(header.getAsyncPaths());
    Groups potentiostats = shapedLike(header.getPotentiostats());
    Groups pathWaves(header.getPaths().size());

    TableCursor cursor(table);
    const std::size_t columns = meta.size() + columnCount(impedances) + columnCount(paths) + columnCount(asyncPaths)
                                + columnCount(potentiostats);
    const std::size_t rows = rowCountOf(numberOfRows, cursor.valueCount(), columns);

    for (auto& column : meta) {
        cursor.readColumn(column, rows);
    }
    readGroups(cursor, impedances, rows);
    readGroups(cursor, paths, rows);
    readGroups(cursor, asyncPaths, rows);
    readGroups(cursor, potentiostats, rows);

    if (usesWaveIdLayout(protocolVersion)) {
        if (waveIdIndex >= 0) {
            const auto* waveSizes = waveSizeIndex >= 0 ? &meta[static_cast<std::size_t>(waveSizeIndex)] : nullptr;
            readWavesByWaveId(cursor, pathWaves, meta[static_cast<std::size_t>(waveIdIndex)], waveSizes);
        }
    } else {
        readWavesOfFixedSize(cursor, pathWaves, rows);
    }

    return EisDataset(std::move(header), std::move(impedances), std::move(paths), std::move(pathWaves),
                      std::move(asyncPaths), std::move(potentiostats), std::move(meta), std::move(jobInfo));
}

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
