#include "marlek_link_json/jobs/ac/dataset/eis_dataset.hpp"

#include "marlek_link_json/jobs/ac/dataset/eis_column_groups.hpp"
#include "marlek_link_json/jobs/ac/dataset/eis_wave_ids.hpp"

#include <algorithm>
#include <iostream>
#include <iterator>
#include <optional>

namespace {

// Source position of every target entry (object or column) in the order of
// the targets. Entries are equal as their headers say: impedances with the
// same two paths, paths and potentiostats with the same URI and columns,
// columns with the same dimension, unit and URN. The n-th of several equal
// targets gets the n-th equal source, so that a header listing an entry twice
// does not send both copies' values into one. None as soon as one target has
// no counterpart.
using Matches = std::vector<std::size_t>;

template <typename Header>
std::optional<Matches> matchEach(const std::vector<Header>& targets, const std::vector<Header>& sources)
{
    Matches matches;
    matches.reserve(targets.size());
    for (auto target = targets.begin(); target != targets.end(); ++target) {
        auto earlier = std::count(targets.begin(), target, *target);
        auto found = std::find(sources.begin(), sources.end(), *target);
        while (found != sources.end() && earlier-- > 0) {
            found = std::find(std::next(found), sources.end(), *target);
        }
        if (found == sources.end()) {
            return std::nullopt;
        }
        matches.push_back(static_cast<std::size_t>(found - sources.begin()));
    }
    return matches;
}

// The counterpart of every object of one kind and of every column of each.
struct GroupPlan {
    Matches objects;
    std::vector<Matches> columns;
};

template <typename Header>
std::optional<GroupPlan> planGroup(const std::vector<Header>& targets, const std::vector<Header>& sources)
{
    std::optional<Matches> objects = matchEach(targets, sources);
    if (!objects) {
        return std::nullopt;
    }
    GroupPlan plan{std::move(*objects), {}};
    for (std::size_t i = 0; i < targets.size(); ++i) {
        std::optional<Matches> columns = matchEach(columnsOf(targets[i]), columnsOf(sources[plan.objects[i]]));
        if (!columns) {
            return std::nullopt;
        }
        plan.columns.push_back(std::move(*columns));
    }
    return plan;
}

void appendTracks(std::vector<std::vector<double>>& targets, const std::vector<std::vector<double>>& sources,
                  const Matches& columns)
{
    for (std::size_t c = 0; c < columns.size(); ++c) {
        const std::vector<double>& source = sources.at(columns[c]);
        std::vector<double>& target = targets.at(c);
        target.insert(target.end(), source.begin(), source.end());
    }
}

void appendGroup(EisColumnGroups& targets, const EisColumnGroups& sources, const GroupPlan& plan)
{
    for (std::size_t i = 0; i < plan.objects.size(); ++i) {
        appendTracks(targets.at(i), sources.at(plan.objects[i]), plan.columns[i]);
    }
}

// Appends one value per column to the object's tracks, adding tracks and
// objects the row has more of.
void appendGroupValues(EisColumnGroups& groups, const std::vector<std::vector<double>>& values, bool& grew)
{
    if (groups.size() < values.size()) {
        groups.resize(values.size());
        grew = true;
    }
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (groups[i].size() < values[i].size()) {
            groups[i].resize(values[i].size());
            grew = true;
        }
        for (std::size_t j = 0; j < values[i].size(); ++j) {
            groups[i][j].push_back(values[i][j]);
        }
    }
}

template <typename Header>
bool coversHeaders(const EisColumnGroups& groups, const std::vector<Header>& headers, std::uint64_t rows)
{
    if (groups.size() < headers.size()) {
        return false;
    }
    for (std::size_t i = 0; i < headers.size(); ++i) {
        if (groups[i].size() < columnsOf(headers[i]).size()) {
            return false;
        }
    }
    return std::all_of(groups.begin(), groups.end(), [&](const auto& tracks) {
        return std::all_of(tracks.begin(), tracks.end(), [&](const auto& track) { return track.size() == rows; });
    });
}

} // namespace

void EisDataset::appendDataRow(const LiveDataRowEis& row)
{
    bool grew = false;
    appendGroupValues(impedances, row.getImpedances(), grew);
    appendGroupValues(paths, row.getPaths(), grew);

    const std::vector<std::vector<double>>& rowWaves = row.getPathsWaves();
    const std::vector<double>& metaRow = row.getMeta();
    const bool carriesWave =
        std::any_of(rowWaves.begin(), rowWaves.end(), [](const auto& wave) { return !wave.empty(); });
    std::optional<std::int64_t> deviceId = static_cast<std::int64_t>(waveIndexByWaveId.size());
    if (indexWaveId >= 0 && static_cast<std::uint64_t>(indexWaveId) < metaRow.size()) {
        deviceId = roundedWaveId(metaRow[static_cast<std::size_t>(indexWaveId)]);
    }
    if (pathWaves.size() < rowWaves.size()) {
        pathWaves.resize(rowWaves.size());
        grew = true;
    }
    std::int64_t waveIndex = -1;
    if (deviceId.has_value() && *deviceId >= 0) {
        if (const auto known = waveIndexByWaveId.find(*deviceId); known != waveIndexByWaveId.end()) {
            waveIndex = known->second;
        } else if (carriesWave) {
            // Numbered by the waves already stored: a reader or append may
            // have stored waves that this map does not know of.
            std::size_t stored = 0;
            for (const auto& waves : pathWaves) {
                stored = std::max(stored, waves.size());
            }
            waveIndex = static_cast<std::int64_t>(stored);
            waveIndexByWaveId.emplace(*deviceId, waveIndex);
            // Every path gets a wave under this index, an empty one where the
            // row has none, so that one index names the same row on all paths.
            for (std::size_t k = 0; k < pathWaves.size(); ++k) {
                pathWaves[k].resize(stored);
                pathWaves[k].push_back(k < rowWaves.size() ? rowWaves[k] : std::vector<double>{});
            }
        }
    }

    appendGroupValues(asyncPaths, row.getAsyncPaths(), grew);
    appendGroupValues(potentiostats, row.getPotentiostats(), grew);
    if (meta.size() < metaRow.size()) {
        meta.resize(metaRow.size());
        grew = true;
    }
    for (std::size_t i = 0; i < metaRow.size(); ++i) {
        const bool isWaveId = indexWaveId >= 0 && i == static_cast<std::size_t>(indexWaveId);
        meta[i].push_back(isWaveId ? static_cast<double>(waveIndex) : metaRow[i]);
    }
    if (!meta.empty()) {
        rowCount = meta.front().size();
    }
    if (grew) {
        createHelperObjects();
    }
}

bool EisDataset::hasConsistentShape() const
{
    if (meta.size() < header.getMetaColumns().size()) {
        return false;
    }
    if (!std::all_of(meta.begin(), meta.end(), [&](const auto& track) { return track.size() == rowCount; })) {
        return false;
    }
    if (pathWaves.size() < header.getPaths().size()) {
        return false;
    }
    if (std::any_of(pathWaves.begin(), pathWaves.end(), [&](const auto& waves) { return waves.size() > rowCount; })) {
        return false;
    }
    return coversHeaders(impedances, header.getImpedances(), rowCount)
           && coversHeaders(paths, header.getPaths(), rowCount)
           && coversHeaders(asyncPaths, header.getAsyncPaths(), rowCount)
           && coversHeaders(potentiostats, header.getPotentiostats(), rowCount);
}

bool EisDataset::append(const EisDataset& other, double timeOffset)
{
    if (&other == this) {
        // Appending reads `other` while it grows this dataset's tracks.
        const EisDataset copy(other);
        return append(copy, timeOffset);
    }
    if (other.rowCount == 0 || other.meta.empty()) {
        createHelperObjects();
        return false;
    }
    if (!(header == other.header)) {
        if (rowCount != 0) {
            createHelperObjects();
            return false;
        }
        *this = other;
        return true;
    }
    if (!hasConsistentShape() || !other.hasConsistentShape()) {
        std::cerr << "cannot append: the data does not have the shape its header describes" << std::endl;
        createHelperObjects();
        return false;
    }

    // Every counterpart is found before anything changes, so that a gap
    // leaves this dataset as it was instead of ragged.
    const auto impedancePlan = planGroup(header.getImpedances(), other.header.getImpedances());
    const auto pathPlan = planGroup(header.getPaths(), other.header.getPaths());
    const auto asyncPlan = planGroup(header.getAsyncPaths(), other.header.getAsyncPaths());
    const auto potentiostatPlan = planGroup(header.getPotentiostats(), other.header.getPotentiostats());
    const auto metaPlan = matchEach(header.getMetaColumns(), other.header.getMetaColumns());
    if (!impedancePlan || !pathPlan || !asyncPlan || !potentiostatPlan || !metaPlan) {
        std::cerr << "header mismatch" << std::endl;
        createHelperObjects();
        return false;
    }

    mergeIncludedDatasets(other);
    const std::uint64_t oldRows = rowCount;
    const std::size_t oldWaveCount = pathWaves.empty() ? 0 : pathWaves.front().size();

    std::string type = header.getMeasurementType();
    std::string shortType = header.getShortMeasurementType();
    if (type != other.header.getMeasurementType()) {
        type = "EIS Combined";
    }
    if (shortType != other.header.getShortMeasurementType()) {
        shortType = "EIS";
    }
    if (type != header.getMeasurementType() || shortType != header.getShortMeasurementType()) {
        header = LiveDataHeaderEis(std::move(type), std::move(shortType), header.getMetaColumns(),
                                   header.getImpedances(), header.getPaths(), header.getAsyncPaths(),
                                   header.getPotentiostats());
    }

    appendGroup(impedances, other.impedances, *impedancePlan);
    appendGroup(paths, other.paths, *pathPlan);
    for (std::size_t i = 0; i < pathPlan->objects.size(); ++i) {
        const auto& source = other.pathWaves.at(pathPlan->objects[i]);
        auto& target = pathWaves.at(i);
        target.insert(target.end(), source.begin(), source.end());
    }
    appendGroup(asyncPaths, other.asyncPaths, *asyncPlan);
    appendGroup(potentiostats, other.potentiostats, *potentiostatPlan);
    appendTracks(meta, other.meta, *metaPlan);

    if (indexTime >= 0 && oldRows != 0) {
        std::vector<double>& times = meta.at(static_cast<std::size_t>(indexTime));
        const double last = times.at(oldRows - 1);
        for (std::size_t k = oldRows; k < times.size(); ++k) {
            times[k] = times[k] + timeOffset + last;
        }
    }
    if (indexWaveId >= 0 && static_cast<std::size_t>(indexWaveId) < meta.size() && oldWaveCount != 0) {
        std::vector<double>& ids = meta[static_cast<std::size_t>(indexWaveId)];
        for (std::size_t k = oldRows; k < ids.size(); ++k) {
            const std::optional<std::int64_t> id = roundedWaveId(ids[k]);
            // Ids that name no wave (negative, NaN, infinite, out of range)
            // stay as they are.
            if (id.has_value() && *id >= 0) {
                ids[k] += static_cast<double>(oldWaveCount);
            }
        }
    }
    rowCount = meta.empty() ? 0 : meta.front().size();
    createHelperObjects();
    return true;
}
