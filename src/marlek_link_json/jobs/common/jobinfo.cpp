#include "marlek_link_json/jobs/common/jobinfo.hpp"

#include <utility>

JobInfo::JobInfo(std::string_view jobId, JobStatusEnum status, JobStatusDetailEnum statusDetail,
                 std::string_view created, std::string_view started, std::string_view ended,
                 const std::map<std::string, std::string>& jobMeta, ErrorObject&& error, std::string_view type,
                 std::shared_ptr<MeasurementParameters>&& parameters,
                 std::vector<std::shared_ptr<AbstractStopCondition>>&& stopConditions, const JobOptions& options)
    : jobId(jobId),
      status(status),
      statusDetail(statusDetail),
      created(created),
      started(started),
      ended(ended),
      jobMeta(jobMeta),
      error(std::move(error)),
      type(type),
      parameters(std::move(parameters)),
      stopConditions(std::move(stopConditions)),
      options(options)
{
}

void JobInfo::setFailed(ErrorObject&& failure, JobStatusDetailEnum detail, JobStatusEnum newStatus)
{
    status = newStatus;
    statusDetail = detail;
    error = std::move(failure);
}
