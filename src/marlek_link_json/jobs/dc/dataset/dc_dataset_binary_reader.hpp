#pragma once

#include "marlek_json_common/json_common/protocol/livedataheader.hpp"
#include "marlek_link_json/jobs/common/jobinfo.hpp"
#include "marlek_link_json/jobs/dc/dataset/dc_dataset.hpp"

#include <string_view>

// The DC binary table holds the columns one after the other, each as raw
// little-endian IEEE-754 doubles, with no header of its own: the column
// count comes from the header that travels beside it and the row count is
// size / (8 x columns). Bytes that do not fill a whole row are ignored; a
// header without columns gives a dataset without tracks. Never fails.
DcDataset dcDatasetFromBinary(std::string_view table, LiveDataHeader&& header, JobInfo&& info);
