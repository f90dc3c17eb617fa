#include "support/job_with_id.hpp"

#include "marlek_link_json/jobs/common/jobinfo.hpp"

#include <utility>

JobInfo jobWithId(std::string id)
{
    JobInfo info;
    info.jobId = std::move(id);
    return info;
}
