#include "marlek_link_json/jobs/ac/dataset/eis_dataset.hpp"

#include "marlek_link_json/jobs/ac/dataset/eis_column_groups.hpp"
#include "marlek_link_json/jobs/ac/dataset/eis_wave_ids.hpp"
#include "marlek_link_json/jobs/ac/dataset/polar_impedance.hpp"
#include "marlek_link_json/jobs/dataset/track_names.hpp"

#include <algorithm>
#include <cstddef>
#include <limits>
#include <utility>

namespace {

template <typename T>
bool inRange(std::int64_t index, const std::vector<T>& list)
{
    return index >= 0 && static_cast<std::uint64_t>(index) < list.size();
}

const std::vector<double>& trackOf(const std::vector<std::vector<std::vector<double>>>& objects, std::size_t object,
                                   std::size_t column)
{
    if (object >= objects.size() || column >= objects[object].size()) {
        return EisDataset::EMPTY_TRACK;
    }
    return objects[object][column];
}

template <typename Header>
std::int64_t indexInFirstHeader(const std::vector<Header>& headers, const std::string& name)
{
    if (headers.empty()) {
        return -1;
    }
    return EisDataset::indexOfDimension(columnsOf(headers.front()), name);
}

std::int64_t indexOfPathWithDcDimension(const std::vector<PathDataHeader>& paths, const std::string& name)
{
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const auto& columns = paths[i].getColumns();
        if (!columns.empty() && columns.front().dimension == name) {
            return static_cast<std::int64_t>(i);
        }
    }
    return -1;
}

} // namespace

EisDataset::EisDataset() : EisDataset(JobInfo{}) {}

EisDataset::EisDataset(JobInfo&& info) : DataSet(std::move(info)) {}

EisDataset::EisDataset(LiveDataHeaderEis&& header, std::vector<std::vector<std::vector<double>>>&& impedances,
                       std::vector<std::vector<std::vector<double>>>&& paths,
                       std::vector<std::vector<std::vector<double>>>&& pathWaves,
                       std::vector<std::vector<std::vector<double>>>&& asyncPaths,
                       std::vector<std::vector<std::vector<double>>>&& potentiostats,
                       std::vector<std::vector<double>>&& meta, JobInfo&& jobInfo)
    : DataSet(std::move(jobInfo)),
      header(std::move(header)),
      impedances(std::move(impedances)),
      paths(std::move(paths)),
      pathWaves(std::move(pathWaves)),
      asyncPaths(std::move(asyncPaths)),
      potentiostats(std::move(potentiostats)),
      meta(std::move(meta))
{
    rowCount = this->meta.empty() ? 0 : this->meta.front().size();
    computeColumnIndices();
    synthesizeWaveColumns();
    createHelperObjects();
}

EisDataset::EisDataset(const EisDataset& other) : DataSet(other)
{
    takeStateFrom(other);
    createHelperObjects();
}

EisDataset::EisDataset(EisDataset&& other) : DataSet(std::move(other))
{
    takeStateFrom(std::move(other));
    other.resetToEmpty();
    createHelperObjects();
}

EisDataset& EisDataset::operator=(const EisDataset& other)
{
    if (this != &other) {
        DataSet::operator=(other);
        takeStateFrom(other);
        createHelperObjects();
    }
    return *this;
}

EisDataset& EisDataset::operator=(EisDataset&& other)
{
    if (this != &other) {
        DataSet::operator=(std::move(other));
        takeStateFrom(std::move(other));
        other.resetToEmpty();
        createHelperObjects();
    }
    return *this;
}

// Everything but the views, which always belong to the dataset that owns the
// tracks.
template <typename Other>
void EisDataset::takeStateFrom(Other&& other)
{
    header = std::forward<Other>(other).header;
    rowCount = other.rowCount;
    impedances = std::forward<Other>(other).impedances;
    paths = std::forward<Other>(other).paths;
    pathWaves = std::forward<Other>(other).pathWaves;
    asyncPaths = std::forward<Other>(other).asyncPaths;
    potentiostats = std::forward<Other>(other).potentiostats;
    meta = std::forward<Other>(other).meta;
    waveIndexByWaveId = std::forward<Other>(other).waveIndexByWaveId;
    indexFrequency = other.indexFrequency;
    indexPeriods = other.indexPeriods;
    indexTime = other.indexTime;
    indexWaveId = other.indexWaveId;
    indexWaveSize = other.indexWaveSize;
    indexImpedanceAbsolute = other.indexImpedanceAbsolute;
    indexPhase = other.indexPhase;
    indexImpedanceError = other.indexImpedanceError;
    indexPhaseError = other.indexPhaseError;
    indexImpedanceDrift = other.indexImpedanceDrift;
    indexPhaseDrift = other.indexPhaseDrift;
    indexGain = other.indexGain;
    indexPathFilter = other.indexPathFilter;
    indexThd = other.indexThd;
    indexPathDrift = other.indexPathDrift;
    indexPathDc = other.indexPathDc;
    indexDc = other.indexDc;
    indexShunt = other.indexShunt;
    indexBandwith = other.indexBandwith;
    indexPotentiostatFilter = other.indexPotentiostatFilter;
}

void EisDataset::resetToEmpty()
{
    header = LiveDataHeaderEis();
    rowCount = 0;
    impedances.clear();
    paths.clear();
    pathWaves.clear();
    asyncPaths.clear();
    potentiostats.clear();
    meta.clear();
    waveIndexByWaveId.clear();
    computeColumnIndices();
    pathsData.clear();
    potentiostatsData.clear();
    impedancesData.clear();
}

void EisDataset::computeColumnIndices()
{
    indexFrequency = findIndexOfColumInMeta(TrackNames::FREQUENCY);
    indexPeriods = findIndexOfColumInMeta(TrackNames::PERIODS);
    indexTime = findIndexOfColumInMeta(TrackNames::TIME);
    indexWaveId = findIndexOfColumInMeta(TrackNames::WAVE_ID);
    indexWaveSize = findIndexOfColumInMeta(TrackNames::WAVE_SIZE);
    indexImpedanceAbsolute = findIndexOfColumInImpedance(TrackNames::IMPEDANCE_ABSOLUTE);
    indexPhase = findIndexOfColumInImpedance(TrackNames::PHASE);
    indexImpedanceError = findIndexOfColumInImpedance(TrackNames::IMPEDANCE_ERROR);
    indexPhaseError = findIndexOfColumInImpedance(TrackNames::PHASE_ERROR);
    indexImpedanceDrift = findIndexOfColumInImpedance(TrackNames::IMPEDANCE_DRIFT);
    indexPhaseDrift = findIndexOfColumInImpedance(TrackNames::PHASE_DRIFT);
    indexGain = findIndexOfColumInPath(TrackNames::GAIN);
    indexPathFilter = findIndexOfColumInPath(TrackNames::FILTER);
    indexThd = findIndexOfColumInPath(TrackNames::THD);
    indexPathDrift = findIndexOfColumInPath(TrackNames::DRIFT);
    indexPathDc = 0;
    indexDc = findIndexOfColumInPotentiostat(TrackNames::DC);
    indexShunt = findIndexOfColumInPotentiostat(TrackNames::SHUNT);
    indexBandwith = findIndexOfColumInPotentiostat(TrackNames::BANDWITH);
    indexPotentiostatFilter = findIndexOfColumInPotentiostat(TrackNames::FILTER);
}

std::int64_t EisDataset::findIndexOfColumInMeta(const std::string& name) const
{
    return indexOfDimension(header.getMetaColumns(), name);
}

std::int64_t EisDataset::findIndexOfColumInImpedance(const std::string& name) const
{
    return indexInFirstHeader(header.getImpedances(), name);
}

std::int64_t EisDataset::findIndexOfColumInPath(const std::string& name) const
{
    return indexInFirstHeader(header.getPaths(), name);
}

std::int64_t EisDataset::findIndexOfColumInPotentiostat(const std::string& name) const
{
    return indexInFirstHeader(header.getPotentiostats(), name);
}

void EisDataset::synthesizeWaveColumns()
{
    if (indexWaveId != -1 || indexWaveSize != -1) {
        return;
    }
    const auto withWaves =
        std::find_if(pathWaves.begin(), pathWaves.end(), [](const auto& waves) { return !waves.empty(); });
    if (withWaves == pathWaves.end() || meta.size() != header.getMetaColumns().size()) {
        return;
    }
    std::vector<double> ids(rowCount, -1.0);
    std::vector<double> sizes(rowCount, 0.0);
    for (std::size_t row = 0; row < rowCount && row < withWaves->size(); ++row) {
        ids[row] = static_cast<double>(row);
        sizes[row] = static_cast<double>((*withWaves)[row].size());
    }
    std::vector<ColumnHeader> metaColumns = header.getMetaColumns();
    metaColumns.emplace_back(TrackNames::WAVE_ID, "", "");
    indexWaveId = static_cast<std::int64_t>(metaColumns.size() - 1);
    metaColumns.emplace_back(TrackNames::WAVE_SIZE, "", "");
    indexWaveSize = static_cast<std::int64_t>(metaColumns.size() - 1);
    header = LiveDataHeaderEis(header.getMeasurementType(), header.getShortMeasurementType(), std::move(metaColumns),
                               header.getImpedances(), header.getPaths(), header.getAsyncPaths(),
                               header.getPotentiostats());
    meta.push_back(std::move(ids));
    meta.push_back(std::move(sizes));
}

const LiveDataHeaderEis& EisDataset::getHeader() const
{
    return header;
}

const std::vector<ColumnHeader>& EisDataset::getMetaDataHeader() const
{
    return header.getMetaColumns();
}

const std::vector<ImpedanceDataHeader>& EisDataset::getImpedancesHeaders() const
{
    return header.getImpedances();
}

const std::vector<PathDataHeader>& EisDataset::getPathsDataHeaders() const
{
    return header.getPaths();
}

const std::vector<PathDataHeader>& EisDataset::getAsyncPathsDataHeaders() const
{
    return header.getAsyncPaths();
}

const std::vector<PotentiostatDataHeader>& EisDataset::getPotentiostatsDataHeaders() const
{
    return header.getPotentiostats();
}

std::uint64_t EisDataset::getRowCount() const
{
    return rowCount;
}

DatasetInfo EisDataset::getInfo() const
{
    DatasetInfo info;
    info.type = DatasetType::AC;
    info.job_type = header.getMeasurementType();
    info.job_type_short = header.getShortMeasurementType();
    info.num_rows = getRowCount();
    const std::vector<double>& times = metaTrackAt(indexTime);
    info.first_time_value = times.empty() ? std::numeric_limits<double>::quiet_NaN() : times.front();
    info.jobInfo = getJobInfo();
    return info;
}

const std::vector<std::vector<std::vector<double>>>& EisDataset::getImpedances() const
{
    return impedances;
}

const std::vector<double>& EisDataset::getImpedancesMetaData(std::size_t impedance, std::size_t column) const
{
    return trackOf(impedances, impedance, column);
}

const std::vector<double>& EisDataset::getPathMetaData(std::size_t path, std::size_t column) const
{
    return trackOf(paths, path, column);
}

const std::vector<double>& EisDataset::getAsyncPathData(std::size_t asyncPath, std::size_t column) const
{
    return trackOf(asyncPaths, asyncPath, column);
}

const std::vector<double>& EisDataset::getPotentiostatsMetaData(std::size_t potentiostat, std::size_t column) const
{
    return trackOf(potentiostats, potentiostat, column);
}

const std::vector<double>& EisDataset::getMetaColumn(std::size_t column) const
{
    return column < meta.size() ? meta[column] : EMPTY_TRACK;
}

const std::vector<double>& EisDataset::metaTrackAt(std::int64_t index) const
{
    return inRange(index, meta) ? meta[static_cast<std::size_t>(index)] : EMPTY_TRACK;
}

const std::vector<double>& EisDataset::getFrequencies() const
{
    return metaTrackAt(indexFrequency);
}

const std::vector<double>& EisDataset::getPeriods() const
{
    return metaTrackAt(indexPeriods);
}

const std::vector<double>& EisDataset::getTimes() const
{
    return metaTrackAt(indexTime);
}

const std::vector<double>& EisDataset::getWaveIds() const
{
    return metaTrackAt(indexWaveId);
}

const std::vector<double>& EisDataset::getWaveSizes() const
{
    return metaTrackAt(indexWaveSize);
}

const std::vector<std::vector<double>>& EisDataset::getPathWaves(std::size_t path) const
{
    return path < pathWaves.size() ? pathWaves[path] : EMPTY_TRACKWAVE;
}

const std::vector<double>& EisDataset::getPathDcValues(std::size_t path) const
{
    return trackOf(paths, path, static_cast<std::size_t>(indexPathDc));
}

std::vector<std::complex<double>> EisDataset::getImpedances(std::size_t impedance) const
{
    std::vector<std::complex<double>> result;
    if (impedance >= impedances.size() || !inRange(indexImpedanceAbsolute, impedances[impedance])
        || !inRange(indexPhase, impedances[impedance])) {
        return result;
    }
    const auto& magnitudes = impedances[impedance][static_cast<std::size_t>(indexImpedanceAbsolute)];
    const auto& phases = impedances[impedance][static_cast<std::size_t>(indexPhase)];
    const std::size_t count = std::min(magnitudes.size(), phases.size());
    result.reserve(count);
    for (std::size_t k = 0; k < count; ++k) {
        result.push_back(polarImpedance(magnitudes[k], phases[k]));
    }
    return result;
}

std::int64_t EisDataset::getWaveIdForRow(std::size_t row) const
{
    const std::vector<double>& ids = getWaveIds();
    if (row >= ids.size()) {
        return static_cast<std::int64_t>(row);
    }
    return roundedWaveId(ids[row]).value_or(-1);
}

const std::vector<double>& EisDataset::getWaveForRow(std::size_t path, std::size_t row) const
{
    if (path >= pathWaves.size()) {
        return EMPTY_TRACK;
    }
    const std::int64_t wave = getWaveIdForRow(row);
    return inRange(wave, pathWaves[path]) ? pathWaves[path][static_cast<std::size_t>(wave)] : EMPTY_TRACK;
}

const std::vector<double>& EisDataset::getWaveForRow(const std::string& pathName, std::size_t row) const
{
    const std::vector<std::vector<double>>& waves = getPathData(pathName).getWaves();
    const std::int64_t wave = getWaveIdForRow(row);
    return inRange(wave, waves) ? waves[static_cast<std::size_t>(wave)] : EMPTY_TRACK;
}

std::int64_t EisDataset::indexOf(const std::vector<ColumnHeader>& columns, const ColumnHeader& column)
{
    const auto found = std::find(columns.begin(), columns.end(), column);
    return found == columns.end() ? -1 : static_cast<std::int64_t>(found - columns.begin());
}

std::int64_t EisDataset::indexOfDimension(const std::vector<ColumnHeader>& columns, const std::string& name)
{
    const auto found =
        std::find_if(columns.begin(), columns.end(), [&](const ColumnHeader& c) { return c.dimension == name; });
    return found == columns.end() ? -1 : static_cast<std::int64_t>(found - columns.begin());
}

std::int64_t EisDataset::indexOfColumnHeaderInHeaderVector(const ColumnHeader& column,
                                                           const std::vector<ColumnHeader>& columns) const
{
    return indexOf(columns, column);
}

std::int64_t EisDataset::indexOfDataHeaderWithUriInHeaderVector(const PathDataHeader& pathHeader,
                                                                const std::vector<PathDataHeader>& pathHeaders) const
{
    const auto found = std::find(pathHeaders.begin(), pathHeaders.end(), pathHeader);
    return found == pathHeaders.end() ? -1 : static_cast<std::int64_t>(found - pathHeaders.begin());
}

std::int64_t EisDataset::indexOfImpedance(const ImpedanceDataHeader& impedanceHeader) const
{
    const auto& list = header.getImpedances();
    const auto found = std::find(list.begin(), list.end(), impedanceHeader);
    return found == list.end() ? -1 : static_cast<std::int64_t>(found - list.begin());
}

std::int64_t EisDataset::indexOfPathDimension(const std::string& name) const
{
    return indexOfPathWithDcDimension(header.getPaths(), name);
}

std::int64_t EisDataset::indexOfAsyncPathDimension(const std::string& name) const
{
    return indexOfPathWithDcDimension(header.getAsyncPaths(), name);
}
