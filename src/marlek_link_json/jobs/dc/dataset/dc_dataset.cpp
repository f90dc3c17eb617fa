#include "marlek_link_json/jobs/dc/dataset/dc_dataset.hpp"

#include <algorithm>
#include <cstddef>
#include <iostream>
#include <limits>
#include <tuple>
#include <utility>

namespace {

bool columnLess(const ColumnHeader& a, const ColumnHeader& b)
{
    return std::tie(a.urn, a.dimension, a.unit) < std::tie(b.urn, b.dimension, b.unit);
}

std::vector<ColumnHeader> sortedColumns(const std::vector<ColumnHeader>& columns)
{
    std::vector<ColumnHeader> sorted = columns;
    std::stable_sort(sorted.begin(), sorted.end(), columnLess);
    return sorted;
}

template <typename Predicate>
std::int64_t firstIndexWhere(const std::vector<ColumnHeader>& columns, Predicate predicate)
{
    const auto found = std::find_if(columns.begin(), columns.end(), predicate);
    return found == columns.end() ? -1 : static_cast<std::int64_t>(found - columns.begin());
}

// Index of the n-th (from 0) column equal to `column`. Pairing equal columns
// by occurrence keeps a header that lists a column twice from sending both
// copies' values into the first one.
std::size_t nthIndexOf(const std::vector<ColumnHeader>& columns, const ColumnHeader& column, std::size_t n)
{
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (columns[i] == column && n-- == 0) {
            return i;
        }
    }
    return columns.size();
}

// How many entries before `position` equal the entry at `position`.
std::size_t earlierEqual(const std::vector<ColumnHeader>& list, std::size_t position)
{
    return static_cast<std::size_t>(
        std::count(list.begin(), list.begin() + static_cast<std::ptrdiff_t>(position), list[position]));
}

std::size_t countOf(const std::vector<ColumnHeader>& list, const ColumnHeader& column)
{
    return static_cast<std::size_t>(std::count(list.begin(), list.end(), column));
}

} // namespace

const std::vector<double> DcDataset::EMPTY_TRACK;

DcDataset::DcDataset() : DataSet(JobInfo{}) {}

DcDataset::DcDataset(const LiveDataHeader& header, JobInfo&& info)
    : DataSet(std::move(info)), header(header), tracks(header.getColumns().size())
{
}

DcDataset::DcDataset(const LiveDataHeader& header, JobInfo&& info, std::vector<std::vector<double>>&& tracks)
    : DataSet(std::move(info)), header(header), tracks(std::move(tracks))
{
}

const LiveDataHeader& DcDataset::getHeader() const
{
    return header;
}

const std::vector<std::vector<double>>& DcDataset::getTracks() const
{
    return tracks;
}

std::vector<std::string> DcDataset::getDcDimensions() const
{
    const auto& columns = header.getColumns();
    std::vector<std::string> dimensions;
    dimensions.reserve(tracks.size());
    for (std::size_t i = 0; i < tracks.size() && i < columns.size(); ++i) {
        dimensions.push_back(columns[i].dimension);
    }
    return dimensions;
}

std::map<std::string, std::reference_wrapper<const std::vector<double>>> DcDataset::getDcTracks() const
{
    const auto& columns = header.getColumns();
    std::map<std::string, std::reference_wrapper<const std::vector<double>>> result;
    for (std::size_t i = 0; i < tracks.size() && i < columns.size(); ++i) {
        result.try_emplace(columns[i].dimension, std::cref(tracks[i]));
    }
    return result;
}

const std::vector<double>& DcDataset::getDcTrack(const std::string& dimension) const
{
    const std::int64_t index = indexOfDimension(dimension);
    if (index < 0 || static_cast<std::size_t>(index) >= tracks.size()) {
        return EMPTY_TRACK;
    }
    return tracks[static_cast<std::size_t>(index)];
}

std::int64_t DcDataset::indexOfDimension(const std::string& dimension) const
{
    return firstIndexWhere(header.getColumns(), [&](const ColumnHeader& c) { return c.dimension == dimension; });
}

std::int64_t DcDataset::indexOf(const ColumnHeader& column) const
{
    return firstIndexWhere(header.getColumns(), [&](const ColumnHeader& c) { return c == column; });
}

std::int64_t DcDataset::indexOfUrn(const std::string& urn) const
{
    return firstIndexWhere(header.getColumns(), [&](const ColumnHeader& c) { return c.urn == urn; });
}

std::uint64_t DcDataset::getRowCount() const
{
    return tracks.empty() ? 0 : tracks.front().size();
}

DatasetInfo DcDataset::getInfo() const
{
    DatasetInfo info;
    info.type = DatasetType::DC;
    info.job_type = header.getMeasurementType();
    info.job_type_short = header.getShortMeasurementType();
    info.num_rows = getRowCount();
    info.first_time_value = (tracks.empty() || tracks.front().empty()) ? std::numeric_limits<double>::quiet_NaN()
                                                                       : tracks.front().front();
    info.jobInfo = getJobInfo();
    return info;
}

void DcDataset::appendDataRow(const std::vector<double>& row)
{
    const std::size_t count = std::min(tracks.size(), row.size());
    for (std::size_t j = 0; j < count; ++j) {
        tracks[j].push_back(row[j]);
    }
}

void DcDataset::fillVectors(const std::vector<ColumnHeader>& a, const std::vector<ColumnHeader>& b,
                            std::vector<ColumnHeader>& onlyInA, std::vector<ColumnHeader>& onlyInB,
                            std::vector<ColumnHeader>& common)
{
    const std::vector<ColumnHeader> sortedA = sortedColumns(a);
    const std::vector<ColumnHeader> sortedB = sortedColumns(b);
    std::set_intersection(sortedA.begin(), sortedA.end(), sortedB.begin(), sortedB.end(), std::back_inserter(common),
                          columnLess);
    std::set_difference(sortedA.begin(), sortedA.end(), sortedB.begin(), sortedB.end(), std::back_inserter(onlyInA),
                        columnLess);
    std::set_difference(sortedB.begin(), sortedB.end(), sortedA.begin(), sortedA.end(), std::back_inserter(onlyInB),
                        columnLess);
}

bool DcDataset::append(const DcDataset& other, double timeOffset)
{
    if (&other == this) {
        // Appending reads `other` while it grows this dataset's vectors.
        const DcDataset copy(other);
        return append(copy, timeOffset);
    }
    if (getRowCount() == 0) {
        jobInfo = other.jobInfo;
        includedDatasets = other.includedDatasets;
        header = other.header;
        tracks = other.tracks;
        return true;
    }
    // Matching columns to tracks by index needs one track per column; a
    // dataset built with another number of tracks cannot be joined safely.
    if (tracks.size() != header.getColumns().size() || other.tracks.size() != other.header.getColumns().size()) {
        std::cerr << "cannot append: the data does not have the shape its header describes" << std::endl;
        return false;
    }

    mergeIncludedDatasets(other);

    std::string type = header.getMeasurementType();
    std::string shortType = header.getShortMeasurementType();
    if (type != other.header.getMeasurementType()) {
        type = "DC Combined";
    }
    if (shortType != other.header.getShortMeasurementType()) {
        shortType = "DC";
    }

    const std::size_t ownRows = getRowCount();
    const std::size_t otherRows = other.getRowCount();
    const std::vector<ColumnHeader>& ownColumns = header.getColumns();
    const std::vector<ColumnHeader>& otherColumns = other.header.getColumns();

    std::vector<ColumnHeader> onlyHere;
    std::vector<ColumnHeader> onlyThere;
    std::vector<ColumnHeader> common;
    fillVectors(ownColumns, otherColumns, onlyHere, onlyThere, common);

    for (std::size_t k = 0; k < common.size(); ++k) {
        const std::size_t n = earlierEqual(common, k);
        std::vector<double>& target = tracks[nthIndexOf(ownColumns, common[k], n)];
        const std::vector<double>& source = other.tracks[nthIndexOf(otherColumns, common[k], n)];
        target.reserve(target.size() + source.size());
        target.insert(target.end(), source.begin(), source.end());
    }
    for (std::size_t k = 0; k < onlyHere.size(); ++k) {
        const std::size_t n = countOf(common, onlyHere[k]) + earlierEqual(onlyHere, k);
        std::vector<double>& target = tracks[nthIndexOf(ownColumns, onlyHere[k], n)];
        target.insert(target.end(), otherRows, std::numeric_limits<double>::quiet_NaN());
    }
    std::vector<ColumnHeader> columns = ownColumns;
    for (std::size_t k = 0; k < onlyThere.size(); ++k) {
        const std::size_t n = countOf(common, onlyThere[k]) + earlierEqual(onlyThere, k);
        const std::vector<double>& source = other.tracks[nthIndexOf(otherColumns, onlyThere[k], n)];
        std::vector<double> track;
        track.reserve(ownRows + source.size());
        track.insert(track.end(), ownRows, std::numeric_limits<double>::quiet_NaN());
        track.insert(track.end(), source.begin(), source.end());
        tracks.push_back(std::move(track));
        columns.push_back(onlyThere[k]);
    }
    header = LiveDataHeader(std::move(type), std::move(shortType), std::move(columns));

    std::vector<double>& time = tracks.front();
    if (time.size() > ownRows) {
        const double offset = timeOffset + time[ownRows - 1];
        for (std::size_t i = ownRows; i < time.size(); ++i) {
            time[i] += offset;
        }
    }
    return true;
}
