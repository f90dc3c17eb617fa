#pragma once

#include "marlek_json_common/json_common/protocol/livedataheader.hpp"
#include "marlek_link_json/jobs/dc/dataset/dc_dataset.hpp"

#include <boost/json/conversion.hpp>
#include <boost/json/fwd.hpp>

// Rebuilds a DC dataset from a recorded array of live-data events, as the
// workstation sends them: [LIVE_DATA_HEADER, LIVE_DATA_ROWS whose "data" is
// the DC binary table in base64, LIVE_DATA_FINISHED with "job_info"].
// Malformed input gives an empty or shorter dataset; only a "job_info" that
// the job information reader refuses raises.
DcDataset tag_invoke(const boost::json::value_to_tag<DcDataset>&, const boost::json::value& source);

namespace DcData {

// The header of a LIVE_DATA_HEADER event message; an empty header for any
// other value.
LiveDataHeader extractHeader(const boost::json::value& event);

} // namespace DcData
