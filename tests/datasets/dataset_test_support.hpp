#pragma once

#include "support/job_with_id.hpp"

#include "fake_workstation/table_values.hpp"
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

using fake_workstation::sameValues;
using fake_workstation::dimensionsOf;
using ::jobWithId;

inline const double NaN = std::numeric_limits<double>::quiet_NaN();

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

} // namespace dataset_test
