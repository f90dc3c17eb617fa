#pragma once

#include "marlek_json_common/json_common/jobs/joboptions.hpp"
#include "marlek_json_common/json_common/logging/error_object.hpp"
#include "marlek_link_json/jobs/common/abstract_stopcondition.hpp"
#include "marlek_link_json/jobs/common/jobstatus.hpp"

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class MeasurementParameters;

// What the workstation reports about one job. Times are kept as the text the
// workstation sent. A copy shares the parameter object and the stop
// conditions with the original.
class JobInfo {
public:
    JobInfo() = default;
    JobInfo(std::string_view jobId, JobStatusEnum status, JobStatusDetailEnum statusDetail, std::string_view created,
            std::string_view started, std::string_view ended, const std::map<std::string, std::string>& jobMeta,
            ErrorObject&& error, std::string_view type, std::shared_ptr<MeasurementParameters>&& parameters,
            std::vector<std::shared_ptr<AbstractStopCondition>>&& stopConditions, const JobOptions& options);

    std::string_view getStatusString() const { return jobStatusName(status); }
    std::string_view getStatusDetailString() const { return jobStatusDetailName(statusDetail); }
    const std::shared_ptr<MeasurementParameters>& getParameterObject() const { return parameters; }

    // Replaces status, detail and error; everything else stays.
    void setFailed(ErrorObject&& failure, JobStatusDetailEnum detail, JobStatusEnum newStatus);

    std::string jobId;
    JobStatusEnum status = JobStatusEnum::UNKNOWN;
    JobStatusDetailEnum statusDetail = JobStatusDetailEnum::FAILED_TO_CREATE;
    std::string created;
    std::string started;
    std::string ended;
    std::map<std::string, std::string> jobMeta;
    ErrorObject error;
    std::string type;
    std::shared_ptr<MeasurementParameters> parameters;
    std::vector<std::shared_ptr<AbstractStopCondition>> stopConditions;
    JobOptions options;
};
