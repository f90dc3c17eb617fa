#include "marlek_link_json/jobs/common/jobinfo_json.hpp"

#include "marlek_json_common/json_common/jobs/joboptions_json.hpp"
#include "marlek_json_common/json_common/logging/error_object_json.hpp"
#include "marlek_link_json/jobs/common/jobparameter_factory.hpp"
#include "marlek_link_json/jobs/common/stopcondition_factory.hpp"
#include "marlek_link_json/jobs/parameter_object_json.hpp"

#include <boost/json.hpp>

namespace {

const ErrorObject DEFAULT_ERROR(ErrorCodeEnum::NONE, "no error occoured");

std::string stringMember(const boost::json::object& source, std::string_view key)
{
    const auto* member = source.if_contains(key);
    if (member == nullptr || !member->is_string()) {
        return {};
    }
    return std::string(member->get_string());
}

std::map<std::string, std::string> metaFromJson(const boost::json::object& meta)
{
    std::map<std::string, std::string> result;
    for (const auto& member : meta) {
        const auto* text = member.value().if_string();
        if (text == nullptr) {
            boost::throw_exception(boost::system::system_error(boost::json::error::not_string));
        }
        result.insert_or_assign(std::string(member.key()), std::string(*text));
    }
    return result;
}

boost::json::object metaToJson(const std::map<std::string, std::string>& meta)
{
    boost::json::object result;
    result.reserve(meta.size());
    for (const auto& [key, value] : meta) {
        result.emplace(key, value);
    }
    return result;
}

} // namespace

JobInfo jobInfoFromJson(const boost::json::object& source)
{
    const auto* jobId = source.if_contains("job_id");
    if (jobId == nullptr || !jobId->is_string()) {
        return JobInfo();
    }
    const auto* status = source.if_contains("status");
    const auto* statusDetail = source.if_contains("status_detail");
    const auto* jobMeta = source.if_contains("job_meta");
    const auto* error = source.if_contains("error");
    const auto* parameters = source.if_contains("parameters");
    const auto* stopConditions = source.if_contains("stop_conditions");

    JobInfo info;
    info.jobId = std::string(jobId->get_string());
    info.error = DEFAULT_ERROR;

    // A missing or unknown name keeps the default JobInfo's value.
    if (status != nullptr && status->is_string()) {
        parseJobStatus(status->get_string(), info.status);
    }
    if (statusDetail != nullptr && statusDetail->is_string()) {
        parseJobStatusDetail(statusDetail->get_string(), info.statusDetail);
    }

    info.created = stringMember(source, "created");
    info.type = stringMember(source, "type");
    info.started = stringMember(source, "started");
    info.ended = stringMember(source, "ended");

    if (stopConditions != nullptr && stopConditions->is_array()) {
        info.stopConditions = stopConditionsFromJson(stopConditions->get_array());
    }
    if (error != nullptr && error->is_object()) {
        info.error = boost::json::value_to<ErrorObject>(*error);
    }
    if (!info.type.empty() && parameters != nullptr && parameters->is_object()) {
        if (const auto builders = JobParameterFactory::getInstance().find(info.type)) {
            info.parameters = builders->first(*parameters);
        }
    }
    if (jobMeta != nullptr && jobMeta->is_object()) {
        info.jobMeta = metaFromJson(jobMeta->get_object());
    }
    if (const auto* options = source.if_contains("options"); options != nullptr && options->is_object()) {
        info.options = jobOptionsFromJson(options->get_object());
    }
    return info;
}

JobInfo jobInfoFromJson(const boost::json::value& source)
{
    if (const auto* object = source.if_object()) {
        return jobInfoFromJson(*object);
    }
    return JobInfo();
}

boost::json::object jobInfoToJson(const JobInfo& info)
{
    boost::json::object result;
    result.reserve(10);
    result.emplace("job_id", info.jobId);
    result.emplace("status", info.getStatusString());
    result.emplace("status_detail", info.getStatusDetailString());
    result.emplace("type", info.type);
    result.emplace("created", info.created);
    result.emplace("started", info.started);
    result.emplace("ended", info.ended);
    result.emplace("error", boost::json::value_from(info.error));
    result.emplace("options", boost::json::value_from(info.options));
    result.emplace("job_meta", metaToJson(info.jobMeta));
    return result;
}
