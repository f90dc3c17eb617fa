#pragma once

#include "marlek_json_common/json_common/protocol/columnheader.hpp"
#include "marlek_json_common/json_common/protocol/livedataheader.hpp"
#include "marlek_link_json/jobs/common/jobinfo.hpp"
#include "marlek_link_json/jobs/dc/dataset/dc_dataset.hpp"

#include <cmath>
#include <limits>
#include <string>
#include <utility>
#include <vector>

namespace dataset_test {

inline const double NaN = std::numeric_limits<double>::quiet_NaN();

inline JobInfo jobWithId(std::string id)
{
    JobInfo info;
    info.jobId = std::move(id);
    return info;
}

inline DcDataset makeDc(std::vector<ColumnHeader> columns, std::vector<std::vector<double>> tracks,
                        std::string jobId = "job", std::string type = "Cyclic Voltammetry",
                        std::string shortType = "CV")
{
    return DcDataset(LiveDataHeader(std::move(type), std::move(shortType), std::move(columns)),
                     jobWithId(std::move(jobId)), std::move(tracks));
}

inline ColumnHeader timeColumn()
{
    return ColumnHeader("time", "s", "MAIN:1:TIME");
}

inline ColumnHeader voltageColumn()
{
    return ColumnHeader("voltage", "V", "MAIN:1:POT");
}

inline ColumnHeader currentColumn()
{
    return ColumnHeader("current", "A", "MAIN:1:POT");
}

// Equal lengths and equal values, a NaN matching only a NaN.
inline bool sameValues(const std::vector<double>& a, const std::vector<double>& b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::isnan(a[i]) != std::isnan(b[i]) || (!std::isnan(a[i]) && a[i] != b[i])) {
            return false;
        }
    }
    return true;
}

inline std::vector<std::string> dimensionsOf(const std::vector<ColumnHeader>& columns)
{
    std::vector<std::string> dims;
    for (const auto& c : columns) {
        dims.push_back(c.dimension);
    }
    return dims;
}

} // namespace dataset_test
