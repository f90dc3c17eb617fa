#pragma once

#include "marlek_link_json/jobs/common/jobinfo.hpp"

#include <cstdint>
#include <string>

enum class DatasetType : std::uint8_t {
    DC = 0,
    AC = 1,
};

// Summary of one dataset, or of one part of a dataset that was joined from
// several measurements.
struct DatasetInfo {
    DatasetType type = DatasetType::DC;
    // The measurement type texts of the dataset's header.
    std::string job_type;
    std::string job_type_short;
    std::uint64_t num_rows = 0;
    // First value of the time column; NaN when there is no row.
    double first_time_value = 0.0;
    JobInfo jobInfo;
};
