#pragma once

#include <boost/json.hpp>

#include <utility>

// The JOB_DONE event of a finished hardware job carrying this result.
inline boost::json::object completion(boost::json::value result)
{
    return {{"type", "JOB_DONE"},
            {"job_info", {{"job_id", "job-1"}, {"status", "FINISHED"}}},
            {"result", std::move(result)}};
}
