#pragma once

#include "marlek_link_json/jobs/common/jobinfo.hpp"
#include "marlek_link_json/jobs/dataset/abstract_dataset.hpp"
#include "marlek_link_json/jobs/dataset/dataset_info.hpp"
#include "marlek_link_json/xml/deserialization_context.hpp"
#include "marlek_link_json/xml/xml_serializable.hpp"

#include <memory>
#include <vector>

// Base of the DC and impedance results: the job information of the job that
// produced the data and, for a dataset joined from several measurements, one
// summary per part in joining order.
//
// A subclass implements getRowCount, getInfo and acceptSerializer. Its
// append operation calls mergeIncludedDatasets before it changes any data,
// so that the summary of its own part still describes the rows it held.
// Subclasses may replace `jobInfo` and `includedDatasets` directly, for
// example when an empty dataset takes over another one or a reader restores
// the parts of a stored dataset.
class DataSet : public AbstractDataset, public MXml::XmlSerializable {
public:
    explicit DataSet(JobInfo&& info);

    const JobInfo& getJobInfo() const override;
    const std::vector<DatasetInfo>& getIncludedDatasets() const;

    // Extends the list of parts by the parts of `other` (or by `other`'s own
    // summary when it is a single dataset); a single dataset first lists
    // itself. `other` may be this very dataset.
    void mergeIncludedDatasets(const DataSet& other);

    // Reads a "dataset" element of either kind, chosen by its "type" ("AC"
    // or "DC"); null, with the reason in the context, on failure.
    static std::shared_ptr<DataSet> buildFromXmlElement(tinyxml2::XMLElement* element,
                                                        MXml::DeserializationContext& context);

protected:
    DataSet(const DataSet&) = default;
    DataSet(DataSet&&) = default;
    DataSet& operator=(const DataSet&) = default;
    DataSet& operator=(DataSet&&) = default;

    JobInfo jobInfo;
    std::vector<DatasetInfo> includedDatasets;
};
