#include "marlek_link_json/jobs/dataset/dataset.hpp"

#include <utility>

DataSet::DataSet(JobInfo&& info) : jobInfo(std::move(info)) {}

const JobInfo& DataSet::getJobInfo() const
{
    return jobInfo;
}

const std::vector<DatasetInfo>& DataSet::getIncludedDatasets() const
{
    return includedDatasets;
}

void DataSet::mergeIncludedDatasets(const DataSet& other)
{
    // Taken before this list changes: `other` may be this dataset, and
    // inserting a vector's own range into it is undefined.
    std::vector<DatasetInfo> addedParts =
        other.includedDatasets.empty() ? std::vector<DatasetInfo>{other.getInfo()} : other.includedDatasets;
    if (includedDatasets.empty()) {
        includedDatasets.push_back(getInfo());
    }
    includedDatasets.insert(includedDatasets.end(), std::make_move_iterator(addedParts.begin()),
                            std::make_move_iterator(addedParts.end()));
}
