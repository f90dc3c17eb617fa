#pragma once

#include "marlek_json_common/json_common/protocol/livedataheadereis.hpp"
#include "marlek_link_json/jobs/ac/dataset/eis_dataset.hpp"
#include "marlek_link_json/jobs/common/jobinfo.hpp"

#include <boost/json/conversion.hpp>
#include <boost/json/fwd.hpp>

// Rebuilds an impedance dataset from a recorded array of live-data events as
// the workstation sends them: [LIVE_DATA_HEADER_EIS, LIVE_DATA_ROW_EIS ...,
// LIVE_DATA_FINISHED with "job_info"]; other events between are passed over.
// Each distinct device wave is stored once and the rows' "wave_id" values
// become wave indices in order of first appearance. Malformed input gives an
// empty or shorter dataset; only a "job_info" that the job information reader
// refuses raises.
EisDataset tag_invoke(const boost::json::value_to_tag<EisDataset>&, const boost::json::value& source);

// The rows of every LIVE_DATA_ROW_EIS event of the array under a header and
// job information the caller supplies.
EisDataset eisDatasetFromJsonArray(const boost::json::array& events, LiveDataHeaderEis&& header, JobInfo&& jobInfo);

namespace EisData {

// The header of a LIVE_DATA_HEADER_EIS event message; an empty header for any
// other value.
LiveDataHeaderEis extractHeader(const boost::json::value& message);

} // namespace EisData
