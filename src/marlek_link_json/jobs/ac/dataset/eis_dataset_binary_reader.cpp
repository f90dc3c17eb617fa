#include "marlek_link_json/jobs/ac/dataset/eis_dataset_binary_reader.hpp"

#include "marlek_link_json/jobs/ac/dataset/eis_column_groups.hpp"
#include "marlek_link_json/jobs/ac/dataset/eis_wave_ids.hpp"
#include "marlek_link_json/jobs/dataset/raw_doubles.hpp"
#include "marlek_link_json/jobs/dataset/track_names.hpp"

#include <bit>
#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

static_assert(std::endian::native == std::endian::little,
              "the impedance table holds little-endian doubles and is copied without conversion");

namespace {

using Groups = EisColumnGroups;

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
        if (fits(count)) {
            column = doublesFromBytes(table.data() + position * VALUE_SIZE, count);
        } else {
            column.assign(count, 0.0);
        }
        position = saturatingAdd(position, count);
    }

    // `count` values, or none when they are not all there: a declared length
    // is not allowed to allocate beyond the table.
    void readWave(std::vector<double>& wave, std::uint64_t count)
    {
        if (count != 0 && fits(count)) {
            wave = doublesFromBytes(table.data() + position * VALUE_SIZE, static_cast<std::size_t>(count));
        }
        position = saturatingAdd(position, count);
    }

private:
    std::string_view table;
    std::size_t total;
    std::size_t position = 0;
};

std::size_t columnCount(const Groups& groups)
{
    std::size_t count = 0;
    for (const auto& group : groups) {
        count += group.size();
    }
    return count;
}

// The declared count, unless there is none or it exceeds the number of
// values: a forged count may not allocate beyond the table. A declared count
// the columns cannot all hold keeps its rows; the columns that do not fit
// whole read as zeros rather than shifting values into other columns.
std::size_t rowCountOf(std::size_t declared, std::size_t values, std::size_t columns)
{
    if (declared != 0 && declared <= values) {
        return declared;
    }
    return columns == 0 ? 0 : values / columns;
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

} // namespace

EisDataset eisDatasetFromBinary(std::string_view table, LiveDataHeaderEis&& header, std::size_t numberOfRows,
                                JobInfo&& jobInfo, std::size_t protocolVersion)
{
    const auto& metaColumns = header.getMetaColumns();
    const std::int64_t waveIdIndex = EisDataset::indexOfDimension(metaColumns, TrackNames::WAVE_ID);
    const std::int64_t waveSizeIndex = EisDataset::indexOfDimension(metaColumns, TrackNames::WAVE_SIZE);

    std::vector<std::vector<double>> meta(metaColumns.size());
    Groups impedances = emptyColumnGroups(header.getImpedances());
    Groups paths = emptyColumnGroups(header.getPaths());
    Groups asyncPaths = emptyColumnGroups(header.getAsyncPaths());
    Groups potentiostats = emptyColumnGroups(header.getPotentiostats());
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
