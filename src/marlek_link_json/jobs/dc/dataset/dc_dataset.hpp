#pragma once

#include "marlek_json_common/json_common/protocol/columnheader.hpp"
#include "marlek_json_common/json_common/protocol/livedataheader.hpp"
#include "marlek_link_json/jobs/common/jobinfo.hpp"
#include "marlek_link_json/jobs/dataset/dataset.hpp"
#include "marlek_link_json/jobs/dataset/dataset_info.hpp"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

// Result of a DC measurement: one named column per measured quantity, held
// column by column (`getTracks()[i]` holds every value of header column i).
// Column 0 is the time column. Lookups never fail: a missing track is
// EMPTY_TRACK and a missing index -1.
class DcDataset : public DataSet {
public:
    static const std::vector<double> EMPTY_TRACK;

    DcDataset();
    // One empty track per column.
    DcDataset(const LiveDataHeader& header, JobInfo&& info);
    DcDataset(const LiveDataHeader& header, JobInfo&& info, std::vector<std::vector<double>>&& tracks);

    DcDataset(const DcDataset&) = default;
    DcDataset(DcDataset&&) = default;
    DcDataset& operator=(const DcDataset&) = default;
    DcDataset& operator=(DcDataset&&) = default;

    const LiveDataHeader& getHeader() const;
    const std::vector<std::vector<double>>& getTracks() const;

    std::vector<std::string> getDcDimensions() const;
    // Where two columns share a dimension, the first one is mapped.
    std::map<std::string, std::reference_wrapper<const std::vector<double>>> getDcTracks() const;
    const std::vector<double>& getDcTrack(const std::string& dimension) const;

    std::int64_t indexOfDimension(const std::string& dimension) const;
    std::int64_t indexOf(const ColumnHeader& column) const;
    std::int64_t indexOfUrn(const std::string& urn) const;

    // The length of track 0.
    std::uint64_t getRowCount() const override;
    DatasetInfo getInfo() const override;

    // Surplus values are ignored; a short row leaves the later tracks
    // shorter than track 0.
    void appendDataRow(const std::vector<double>& row);

    // Splits two column lists into the columns only in `a`, only in `b` and
    // in both (taken from `a`), each sorted by URN, then dimension, then unit.
    // A column listed twice counts twice.
    static void fillVectors(const std::vector<ColumnHeader>& a, const std::vector<ColumnHeader>& b,
                            std::vector<ColumnHeader>& onlyInA, std::vector<ColumnHeader>& onlyInB,
                            std::vector<ColumnHeader>& common);

    // Appends the rows of a consecutive measurement. Columns are matched by
    // header; a column missing on one side is NaN-padded, a new column is
    // added at the end. The added times continue from this dataset's last
    // time value plus `timeOffset`. A dataset without rows becomes a copy of
    // `other` instead. Returns false, changing nothing, only when a dataset
    // holds a different number of tracks than its header has columns.
    bool append(const DcDataset& other, double timeOffset);

    // Writes the "dataset" element: the columns, the sections and the values
    // as a CSV table. A value missing from a short track is written "nan".
    void acceptSerializer(MXml::XmlSerializer& serializer) const override;
    // Reads a "dataset" element of type "DC"; null, with the reason in the
    // context, on failure. An element without columns reads as an empty
    // dataset as long as its sections declare no rows.
    static std::shared_ptr<DcDataset> buildFromXmlElement(tinyxml2::XMLElement* element,
                                                          MXml::DeserializationContext& context);

private:
    LiveDataHeader header;
    std::vector<std::vector<double>> tracks;
};
