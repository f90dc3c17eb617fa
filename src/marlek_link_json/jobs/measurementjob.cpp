#include "marlek_link_json/jobs/measurementjob.hpp"

#include "marlek_json_common/json_common/logging/error_formatter.hpp"
#include "marlek_link_json/jobs/common/jobinfo_json.hpp"

#include <boost/json.hpp>

MeasurementJob::MeasurementJob(const std::map<std::string, std::string>& metaData, const JobOptions& options)
    : metaData(metaData), jobOptions(options)
{
}

MeasurementJob::MeasurementJob(const JobOptions& options) : jobOptions(options) {}

void MeasurementJob::processJobResult(const boost::json::object& completion)
{
    if (const auto* info = completion.if_contains("job_info"); info != nullptr && info->is_object()) {
        lastJobInfo = jobInfoFromJson(info->get_object());
    }
    extractJobResult(completion);
}

std::string MeasurementJob::getLastJobErrorMessage() const
{
    // The error usually comes from the workstation; a format string that does
    // not fit its parameters still gives a message rather than an exception.
    return ErrorFormatters::formatOrFallback(lastJobInfo.error);
}

void MeasurementJob::setMetaData(const std::map<std::string, std::string>& newMetaData)
{
    if (&newMetaData != &metaData) {
        metaData = newMetaData;
    }
}

boost::json::object MeasurementJob::getMetaDataObject() const
{
    boost::json::object result;
    result.reserve(metaData.size());
    for (const auto& [key, value] : metaData) {
        result.emplace(key, value);
    }
    return result;
}

boost::json::array MeasurementJob::getStopConditionsArray() const
{
    boost::json::array result;
    result.reserve(stopConditions.size());
    for (const auto& condition : stopConditions) {
        if (!condition) {
            continue;
        }
        boost::json::object element;
        element.reserve(2);
        element.emplace("type", condition->getType());
        element.emplace("parameters", condition->getParameterObject());
        result.emplace_back(std::move(element));
    }
    return result;
}

void MeasurementJob::setFailed(ErrorObject&& error, JobStatusDetailEnum detail)
{
    lastJobInfo.setFailed(std::move(error), detail, JobStatusEnum::FAILED);
}

void MeasurementJob::extractJobResult(const boost::json::object&) {}

void MeasurementJob::setStopConditions(const std::vector<std::shared_ptr<AbstractStopCondition>>& conditions)
{
    if (&conditions != &stopConditions) {
        stopConditions = conditions;
    }
}
