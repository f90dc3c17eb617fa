#include "marlek_link_json/link_json_session.hpp"

#include "marlek_json_common/json_common/configuration/device/workstation_info_json.hpp"
#include "marlek_json_common/json_common/logging/error_object_json.hpp"
#include "marlek_link_json/http_fetcher.hpp"
#include "marlek_link_json/jobs/abstract_measurementjob.hpp"
#include "marlek_link_json/jobs/common/jobinfo_json.hpp"
#include "marlek_link_json/jobs/common/jobrequest_json.hpp"
#include "marlek_link_json/jobs/control/settings/settings_set_json.hpp"
#include "marlek_link_json/websocket_connection_info_json.hpp"
#include "marlek_link_json/workstation_status_json.hpp"

#include <boost/json.hpp>

#include <exception>
#include <iostream>
#include <string>

namespace {

// A job id this short cannot name a job on the workstation.
constexpr std::size_t kShortestJobIdLength = 4;

ErrorObject incompleteObject()
{
    return ErrorObject(ErrorCodeEnum::JSON_MALFORMED, "json malformed: {0}", "incomplete json object received");
}

ErrorObject jobNotFound(const std::string& jobId)
{
    return ErrorObject(ErrorCodeEnum::ID_NOT_FOUND, "could not find {0} with {1} '{2}'", "job", "job_id", jobId);
}

ErrorObject success()
{
    return ErrorObject(ErrorCodeEnum::NONE, "no error occoured");
}

// The result key of a reply, once the reply counts as successful and the key
// holds the JSON kind the command expects.
std::expected<const boost::json::value*, ErrorObject> resultOf(const boost::json::object& reply, std::string_view key,
                                                               boost::json::kind kind)
{
    if (!LinkJsonSession::wasSuccessful(reply)) {
        return std::unexpected(LinkJsonSession::getError(reply));
    }
    const auto* value = reply.if_contains(key);
    if (!value || value->kind() != kind) {
        return std::unexpected(incompleteObject());
    }
    return value;
}

// The same reading whether the identity came over HTTP or over the session.
std::expected<WorkstationInfo, ErrorObject> readWorkstationInfo(const boost::json::value& workstation)
{
    try {
        return boost::json::value_to<WorkstationInfo>(workstation);
    } catch (const std::exception& e) {
        return std::unexpected(ErrorObject(ErrorCodeEnum::JSON_MALFORMED, "json malformed: {0}", e.what()));
    }
}

boost::json::parse_options identityParseOptions()
{
    boost::json::parse_options options;
    options.max_depth = 32;
    options.numbers = boost::json::number_precision::precise;
    options.allow_comments = true;
    options.allow_trailing_commas = true;
    options.allow_infinity_and_nan = true;
    options.allow_invalid_utf8 = false;
    options.allow_invalid_utf16 = false;
    return options;
}

template <typename Record>
std::expected<std::vector<Record>, ErrorObject> readList(const boost::json::object& reply, std::string_view key,
                                                         Record (*read)(const boost::json::value&))
{
    const auto list = resultOf(reply, key, boost::json::kind::array);
    if (!list) {
        return std::unexpected(list.error());
    }
    std::vector<Record> records;
    records.reserve((*list)->get_array().size());
    for (const auto& element : (*list)->get_array()) {
        records.push_back(read(element));
    }
    return records;
}

WebsocketConnectionInfo readConnection(const boost::json::value& value)
{
    return boost::json::value_to<WebsocketConnectionInfo>(value);
}

JobInfo readJobInfo(const boost::json::value& value)
{
    return jobInfoFromJson(value);
}

std::string_view stopText(QueueStopModeEnum mode)
{
    switch (mode) {
    case QueueStopModeEnum::QUEUE_STOP_MODE_FLUSH:
        return R"({"do":"/stop","queue":"flush"})";
    case QueueStopModeEnum::QUEUE_STOP_MODE_CONTINUE:
        return R"({"do":"/stop","queue":"continue"})";
    }
    return R"({"do":"/stop"})";
}

} // namespace

std::expected<WorkstationInfo, ErrorObject> LinkJsonSession::id(std::string_view host, std::string_view port,
                                                                std::chrono::milliseconds timeout)
{
    return id(host, port, timeout, std::stop_token());
}

std::expected<WorkstationInfo, ErrorObject> LinkJsonSession::id(std::string_view host, std::string_view port,
                                                                std::chrono::milliseconds timeout,
                                                                std::stop_token stop)
{
    const auto body = HttpFetcher::getJson("/id", host, port, timeout, std::move(stop));
    if (!body) {
        return std::unexpected(body.error());
    }
    boost::system::error_code parseError;
    const boost::json::value parsed = boost::json::parse(*body, parseError, {}, identityParseOptions());
    if (parseError) {
        return std::unexpected(ErrorObject(ErrorCodeEnum::JSON_MALFORMED, "json malformed: {0}", parseError.what()));
    }
    if (!parsed.is_object()) {
        return std::unexpected(ErrorObject(ErrorCodeEnum::JSON_OBJECT_EXPECTED, "json object expected"));
    }
    const boost::json::object& reply = parsed.get_object();
    const auto* status = reply.if_contains("status");
    if (!status || !status->is_string()) {
        return std::unexpected(ErrorObject(ErrorCodeEnum::JSON_MALFORMED, "json malformed: {0}", "status"));
    }
    if (status->get_string() != "SUCCESS") {
        return std::unexpected(getError(reply));
    }
    const auto* workstation = reply.if_contains("workstation");
    if (!workstation || !workstation->is_object()) {
        return std::unexpected(ErrorObject(ErrorCodeEnum::PROPERTY_OBJECT_MISSING,
                                           "property '{0}' missing or not an object", "workstation"));
    }
    return readWorkstationInfo(*workstation);
}

std::expected<WorkstationInfo, ErrorObject> LinkJsonSession::getWorkstationInfo()
{
    const boost::json::object reply = sendRequest(boost::json::object{{"do", "/id"}}, 0);
    const auto workstation = resultOf(reply, "workstation", boost::json::kind::object);
    if (!workstation) {
        return std::unexpected(workstation.error());
    }
    return readWorkstationInfo(**workstation);
}

std::expected<WorkstationStatus, ErrorObject> LinkJsonSession::getWorkstationStatus()
{
    const boost::json::object reply = sendRequest(boost::json::object{{"do", "/status"}}, 0);
    const auto status = resultOf(reply, "workstation_status", boost::json::kind::object);
    if (!status) {
        return std::unexpected(status.error());
    }
    return boost::json::value_to<WorkstationStatus>(**status);
}

std::expected<JobInfo, ErrorObject> LinkJsonSession::getJobInfo(AbstractMeasurementJob& job)
{
    const std::string jobId = job.getLastJobInfo().jobId;
    if (jobId.size() <= kShortestJobIdLength) {
        return std::unexpected(jobNotFound(jobId));
    }
    const boost::json::object reply = sendRequest(boost::json::object{{"do", "/job/info"}, {"job_id", jobId}}, 0);
    const auto info = resultOf(reply, "job_info", boost::json::kind::object);
    if (!info) {
        return std::unexpected(info.error());
    }
    JobInfo result = jobInfoFromJson((*info)->get_object());
    if (result.jobId.size() <= kShortestJobIdLength) {
        return std::unexpected(jobNotFound(jobId));
    }
    return result;
}

std::expected<std::vector<JobInfo>, ErrorObject> LinkJsonSession::getJobInfoList(bool excludeFinished)
{
    const boost::json::object reply =
        sendRequest(boost::json::object{{"do", "/job/list"}, {"exclude_finished", excludeFinished}}, 0);
    return readList<JobInfo>(reply, "jobs", &readJobInfo);
}

ErrorObject LinkJsonSession::checkJobParameters(AbstractMeasurementJob& job)
{
    // Asked one by one, in the order the request lists them.
    const std::string& name = job.getName();
    const boost::json::object parameters = job.getParameterObject();
    const boost::json::array stopConditions = job.getStopConditionsArray();
    const boost::json::object metaData = job.getMetaDataObject();
    const JobOptions& options = job.getJobOptions();
    const boost::json::object reply = sendRequest(
        makeJobRequestObject("/job/check_parameters", name, parameters, stopConditions, metaData, options), 0);

    const auto* status = reply.if_contains("status");
    if (!status || !status->is_string()) {
        return ErrorObject(ErrorCodeEnum::JSON_MALFORMED, "json malformed: {0}", "reply status invalid");
    }
    if (status->get_string() == "SUCCESS") {
        return success();
    }
    const auto* error = reply.if_contains("error");
    if (!error || !error->is_object()) {
        return ErrorObject(ErrorCodeEnum::JSON_OBJECT_EXPECTED, "json object expected");
    }
    return boost::json::value_to<ErrorObject>(*error);
}

void LinkJsonSession::sendStop(QueueStopModeEnum mode)
{
    if (inheritedByFork()) {
        return;
    }
    // The caller cannot learn that the workstation never heard the stop, so
    // at least the log says so.
    std::lock_guard lock(llSessionMutex);
    if (!llSession) {
        std::cerr << "stop not sent: no connection" << std::endl;
        return;
    }
    if (!llSession->send(std::string(stopText(mode)))) {
        std::cerr << "stop not sent: the connection refused the message" << std::endl;
    }
}

std::expected<SettingsSet, ErrorObject> LinkJsonSession::getAllSettings()
{
    const boost::json::object reply = sendRequest(boost::json::object{{"do", "/settings/get"}}, 0);
    const auto settings = resultOf(reply, "settings", boost::json::kind::object);
    if (!settings) {
        return std::unexpected(settings.error());
    }
    return settingsSetFromJson((*settings)->get_object());
}

boost::json::object LinkJsonSession::updateSettings(SettingsSet& settings)
{
    boost::json::object request{{"do", "/settings/set"}};
    request["settings"] = boost::json::value_from(settings);
    // A setting the reply does not confirm must not keep reporting the
    // success of an earlier update.
    for (auto& [name, setting] : settings) {
        setting.setSuccessfullyUpdated(false);
    }
    boost::json::object reply = sendRequest(request, 0);
    updateSettingsVector(reply, settings);
    return reply;
}

void LinkJsonSession::updateSettingsVector(const boost::json::object& reply, SettingsSet& settings)
{
    const auto* outcomes = reply.if_contains("settings");
    if (!outcomes || !outcomes->is_object()) {
        const ErrorObject reason = getError(reply);
        for (auto& [name, setting] : settings) {
            setting.setSuccessfullyUpdated(false);
            setting.setUpdateFailureReason(ErrorObject(reason));
        }
        return;
    }
    for (auto& [name, setting] : settings) {
        const auto* outcome = outcomes->get_object().if_contains(name);
        if (!outcome || !outcome->is_object()) {
            continue;
        }
        const auto* status = outcome->get_object().if_contains("status");
        if (!status || !status->is_string()) {
            continue;
        }
        const bool updated = status->get_string() == "SUCCESS";
        setting.setSuccessfullyUpdated(updated);
        if (!updated) {
            setting.setUpdateFailureReason(getError(outcome->get_object()));
        }
    }
}

std::expected<WebsocketConnectionInfo, ErrorObject> LinkJsonSession::getOwnConnectionInfo()
{
    const boost::json::object reply = sendRequest(boost::json::object{{"do", "/connection/id"}}, 0);
    const auto connection = resultOf(reply, "connection", boost::json::kind::object);
    if (!connection) {
        return std::unexpected(connection.error());
    }
    return boost::json::value_to<WebsocketConnectionInfo>(**connection);
}

std::expected<std::vector<WebsocketConnectionInfo>, ErrorObject> LinkJsonSession::getWorkstationConnectionList()
{
    const boost::json::object reply = sendRequest(boost::json::object{{"do", "/connection/list"}}, 0);
    return readList<WebsocketConnectionInfo>(reply, "connections", &readConnection);
}

ErrorObject LinkJsonSession::dropWorkstationConnection(const WebsocketConnectionInfo& info)
{
    const boost::json::object reply =
        sendRequest(boost::json::object{{"do", "/connection/drop"}, {"connection_id", info.connection_id}}, 0);
    if (wasSuccessful(reply)) {
        return success();
    }
    return getError(reply);
}
