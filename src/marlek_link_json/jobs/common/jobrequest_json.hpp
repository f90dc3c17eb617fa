#pragma once

#include "marlek_json_common/json_common/jobs/joboptions.hpp"

#include <boost/json/fwd.hpp>

#include <string>
#include <string_view>

// The body of a job start ("/job/start") or a parameter check
// ("/job/check_parameters"): {"do", "job": {"type", "parameters",
// "stop_conditions", "job_meta"}} followed by the set job options at the
// top level. The caller adds "request_id".
boost::json::object makeJobRequestObject(std::string_view command, const std::string& type,
                                         const boost::json::object& parameters,
                                         const boost::json::array& stopConditions,
                                         const boost::json::object& jobMeta, const JobOptions& options);
