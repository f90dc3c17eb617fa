#pragma once

#include "marlek_link_json/jobs/common/jobinfo.hpp"
#include "marlek_link_json/jobs/dataset/dataset_info.hpp"

#include <cstdint>

// What every measurement result answers, whatever its data look like.
class AbstractDataset {
public:
    virtual ~AbstractDataset() = default;

    virtual const JobInfo& getJobInfo() const = 0;
    virtual std::uint64_t getRowCount() const = 0;
    virtual DatasetInfo getInfo() const = 0;

protected:
    AbstractDataset() = default;
    AbstractDataset(const AbstractDataset&) = default;
    AbstractDataset(AbstractDataset&&) = default;
    AbstractDataset& operator=(const AbstractDataset&) = default;
    AbstractDataset& operator=(AbstractDataset&&) = default;
};
