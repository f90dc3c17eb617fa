#pragma once

#include "marlek_link_json/jobs/common/jobinfo.hpp"

#include <boost/json/fwd.hpp>

// Tolerant: a missing or non-string "job_id" gives the default JobInfo, and
// members of the wrong kind count as missing. It raises only when "job_meta"
// holds a non-string value (Boost.JSON's not_string) or when a registered
// parameter or stop-condition reader refuses its object; it catches nothing.
JobInfo jobInfoFromJson(const boost::json::object& source);

// The reader above for an object; the default JobInfo for anything else.
JobInfo jobInfoFromJson(const boost::json::value& source);

// "job_id", "status", "status_detail", "type", "created", "started",
// "ended", "error", "options", "job_meta", in this order. Parameters and
// stop conditions are not written.
boost::json::object jobInfoToJson(const JobInfo& info);
