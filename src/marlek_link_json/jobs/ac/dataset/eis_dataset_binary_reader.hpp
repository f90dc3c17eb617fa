#pragma once

#include "marlek_json_common/json_common/protocol/livedataheadereis.hpp"
#include "marlek_link_json/jobs/ac/dataset/eis_dataset.hpp"
#include "marlek_link_json/jobs/common/jobinfo.hpp"

#include <cstddef>
#include <string_view>

// The impedance binary table: little-endian doubles, column by column, in the
// order meta columns, impedance, synchronous path, asynchronous path and
// potentiostat columns (each object's columns in header order), then the
// waves of the synchronous paths. Workstations of protocol version 1 to 9
// store one wave of equal length per row and path; version 0 and 10 onwards
// store each distinct wave once, named by the rows' "wave_id" and sized by
// their "wave_size" meta values.
//
// Never fails and never trusts the header beyond the table's size: a row
// count of 0, or one the table cannot hold, is derived from the size; columns
// the table does not hold whole are zeros; a wave it does not hold whole is
// left empty; wave ids that are not finite, negative or beyond what the table
// could number name no wave; surplus bytes are ignored.
EisDataset eisDatasetFromBinary(std::string_view table, LiveDataHeaderEis&& header, std::size_t numberOfRows,
                                JobInfo&& jobInfo, std::size_t protocolVersion);
