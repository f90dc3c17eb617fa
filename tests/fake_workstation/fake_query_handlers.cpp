#include "fake_workstation/fake_query_handlers.hpp"

#include "marlek_json_common/json_common/logging/error_object_json.hpp"

#include <boost/json.hpp>

namespace {

const boost::json::string* stringMember(const boost::json::object& object, std::string_view key)
{
    const auto* value = object.if_contains(key);
    return value ? value->if_string() : nullptr;
}

void fail(boost::json::object& reply, const ErrorObject& error)
{
    reply["status"] = "FAILED";
    reply["error"] = boost::json::value_from(error);
}

ErrorObject notFound(std::string_view what, std::string_view key, std::string_view id)
{
    return ErrorObject(ErrorCodeEnum::ID_NOT_FOUND, "could not find {0} with {1} '{2}'", std::string(what),
                       std::string(key), std::string(id));
}

} // namespace

FakeQueryHandlers::FakeQueryHandlers()
    : storedSettings{{"beep_on_start", true}, {"sleep_after", 600}, {"line_frequency", 50.0}, {"name", "ws"}},
      connectionTable{defaultConnection()}
{
}

boost::json::object FakeQueryHandlers::defaultConnection()
{
    return boost::json::object{
        {"connection_id", "conn-1"},      {"connected_since", "2024-01-01T00:00:00"},
        {"remote_addr", "127.0.0.1"},     {"remote_port", 50000},
        {"target", "/default"},           {"user_agent", "marlek_link_lib"},
        {"using_tls", false},
    };
}

bool FakeQueryHandlers::handle(const std::string& command, const boost::json::object& request,
                               boost::json::object& reply)
{
    std::lock_guard lock(mutex);
    if (command == "/settings/get") {
        reply["settings"] = storedSettings;
    } else if (command == "/settings/set") {
        settingsSet(request, reply);
    } else if (command == "/job/list") {
        jobList(request, reply);
    } else if (command == "/job/info") {
        jobInfo(request, reply);
    } else if (command == "/job/check_parameters") {
        const auto* job = request.if_contains("job");
        if (!job || !job->is_object() || !stringMember(job->get_object(), "type")) {
            fail(reply, ErrorObject(ErrorCodeEnum::JSON_MALFORMED, "json malformed: {0}", "job"));
        }
    } else if (command == "/connection/id") {
        if (connectionTable.empty()) {
            fail(reply, notFound("connection", "connection_id", ""));
        } else {
            reply["connection"] = connectionTable.front();
        }
    } else if (command == "/connection/list") {
        reply["connections"] = connectionTable;
    } else if (command == "/connection/drop") {
        connectionDrop(request, reply);
    } else {
        return false;
    }
    return true;
}

void FakeQueryHandlers::settingsSet(const boost::json::object& request, boost::json::object& reply)
{
    const auto* sent = request.if_contains("settings");
    if (!sent || !sent->is_object()) {
        fail(reply, ErrorObject(ErrorCodeEnum::JSON_MALFORMED, "json malformed: {0}", "settings"));
        return;
    }
    boost::json::object outcomes;
    for (const auto& [name, value] : sent->get_object()) {
        const auto configured = settingOutcomes.find(std::string(name));
        const FakeSettingOutcome outcome =
            configured == settingOutcomes.end() ? FakeSettingOutcome{} : configured->second;
        switch (outcome.kind) {
        case FakeSettingOutcome::Kind::Success:
            storedSettings[name] = value;
            outcomes[name] = boost::json::object{{"status", "SUCCESS"}};
            break;
        case FakeSettingOutcome::Kind::Failed:
            outcomes[name] = boost::json::object{{"status", "FAILED"}, {"error", boost::json::value_from(outcome.error)}};
            break;
        case FakeSettingOutcome::Kind::FailedWithoutError:
            outcomes[name] = boost::json::object{{"status", "FAILED"}};
            break;
        case FakeSettingOutcome::Kind::Omitted:
            break;
        }
    }
    reply["settings"] = std::move(outcomes);
}

void FakeQueryHandlers::jobInfo(const boost::json::object& request, boost::json::object& reply) const
{
    const auto* jobId = stringMember(request, "job_id");
    for (const auto& job : jobs) {
        const auto* id = job.is_object() ? stringMember(job.get_object(), "job_id") : nullptr;
        if (jobId && id && *id == *jobId) {
            reply["job_info"] = job;
            return;
        }
    }
    fail(reply, notFound("job", "job_id", jobId ? std::string_view(*jobId) : std::string_view()));
}

void FakeQueryHandlers::jobList(const boost::json::object& request, boost::json::object& reply) const
{
    const auto* exclude = request.if_contains("exclude_finished");
    const bool excludeFinished = exclude && exclude->is_bool() && exclude->get_bool();
    boost::json::array listed;
    for (const auto& job : jobs) {
        const auto* status = job.is_object() ? stringMember(job.get_object(), "status") : nullptr;
        if (excludeFinished && status && *status == "FINISHED") {
            continue;
        }
        listed.push_back(job);
    }
    reply["jobs"] = std::move(listed);
}

void FakeQueryHandlers::connectionDrop(const boost::json::object& request, boost::json::object& reply)
{
    const auto* connectionId = stringMember(request, "connection_id");
    for (auto entry = connectionTable.begin(); entry != connectionTable.end(); ++entry) {
        const auto* id = entry->is_object() ? stringMember(entry->get_object(), "connection_id") : nullptr;
        if (connectionId && id && *id == *connectionId) {
            connectionTable.erase(entry);
            return;
        }
    }
    fail(reply, notFound("connection", "connection_id", connectionId ? std::string_view(*connectionId) : ""));
}

void FakeQueryHandlers::setSettings(boost::json::object settings)
{
    std::lock_guard lock(mutex);
    storedSettings = std::move(settings);
}

boost::json::object FakeQueryHandlers::settings() const
{
    std::lock_guard lock(mutex);
    return storedSettings;
}

void FakeQueryHandlers::setSettingOutcome(const std::string& name, FakeSettingOutcome outcome)
{
    std::lock_guard lock(mutex);
    settingOutcomes[name] = std::move(outcome);
}

void FakeQueryHandlers::setJobs(boost::json::array newJobs)
{
    std::lock_guard lock(mutex);
    jobs = std::move(newJobs);
}

void FakeQueryHandlers::setConnections(boost::json::array connections)
{
    std::lock_guard lock(mutex);
    connectionTable = std::move(connections);
}

boost::json::array FakeQueryHandlers::connections() const
{
    std::lock_guard lock(mutex);
    return connectionTable;
}
