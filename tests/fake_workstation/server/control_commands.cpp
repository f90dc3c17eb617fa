#include "control_commands.hpp"

#include "fake_workstation/calibration_job_scripts.hpp"
#include "fake_workstation/fake_control_jobs.hpp"
#include "fake_workstation/fake_job_script.hpp"
#include "fake_workstation/fake_workstation.hpp"
#include "marlek_json_common/json_common/logging/error_object_json.hpp"

#include <boost/json.hpp>

#include <cstdint>
#include <map>
#include <optional>
#include <string_view>

namespace {

using Command = boost::json::object (*)(FakeWorkstation&, const boost::json::object&);

std::optional<FakeSettingOutcome> settingOutcome(const boost::json::object& command)
{
    const boost::json::value* outcome = command.if_contains("outcome");
    const boost::json::value* error = command.if_contains("error");
    if (outcome == nullptr) {
        return std::nullopt;
    }
    FakeSettingOutcome result;
    if (*outcome == "success") {
        result.kind = FakeSettingOutcome::Kind::Success;
    } else if (*outcome == "failed" && error != nullptr) {
        const auto read = boost::json::try_value_to<ErrorObject>(*error);
        if (!read) {
            return std::nullopt;
        }
        result.kind = FakeSettingOutcome::Kind::Failed;
        result.error = *read;
    } else if (*outcome == "failed_without_error") {
        result.kind = FakeSettingOutcome::Kind::FailedWithoutError;
    } else if (*outcome == "omitted") {
        result.kind = FakeSettingOutcome::Kind::Omitted;
    } else {
        return std::nullopt;
    }
    return result;
}

boost::json::object closeConnection(FakeWorkstation& workstation, const boost::json::object& command)
{
    const boost::json::value* code = command.if_contains("code");
    workstation.closeConnection(code && code->is_int64() ? static_cast<std::uint16_t>(code->as_int64()) : 1000);
    return {};
}

boost::json::object dropConnection(FakeWorkstation& workstation, const boost::json::object&)
{
    workstation.dropConnection();
    return {};
}

boost::json::object countConnections(FakeWorkstation& workstation, const boost::json::object&)
{
    return {{"connections", workstation.connections().size()}};
}

boost::json::object listMessages(FakeWorkstation& workstation, const boost::json::object&)
{
    boost::json::array texts;
    const auto records = workstation.connections();
    if (!records.empty()) {
        for (const auto& message : records.back().messages) {
            if (!message.binary) {
                texts.emplace_back(message.bytes);
            }
        }
    }
    return {{"messages", std::move(texts)}};
}

boost::json::object setSettingOutcome(FakeWorkstation& workstation, const boost::json::object& command)
{
    const boost::json::value* name = command.if_contains("name");
    const auto outcome = settingOutcome(command);
    if (name == nullptr || !name->is_string() || !outcome) {
        return {{"error", "not a setting outcome"}};
    }
    workstation.router().queries().setSettingOutcome(std::string(name->get_string()), *outcome);
    return {};
}

boost::json::object overrideReplies(FakeWorkstation& workstation, const boost::json::object& command,
                                    FakeReplyOverride::Mode mode)
{
    const boost::json::value* overridden = command.if_contains("command");
    const boost::json::value* keys = command.if_contains("keys");
    const bool keysNeeded = mode == FakeReplyOverride::Mode::ExtraKeys;
    if (overridden == nullptr || !overridden->is_string() || (keysNeeded && (!keys || !keys->is_object()))) {
        return {{"error", "command missing"}};
    }
    FakeReplyOverride override;
    override.mode = mode;
    if (keys != nullptr && keys->is_object()) {
        override.extraKeys = keys->get_object();
    }
    workstation.router().setReplyOverride(std::string(overridden->get_string()), override);
    return {};
}

boost::json::object failReplies(FakeWorkstation& workstation, const boost::json::object& command)
{
    return overrideReplies(workstation, command, FakeReplyOverride::Mode::Failed);
}

boost::json::object silenceReplies(FakeWorkstation& workstation, const boost::json::object& command)
{
    return overrideReplies(workstation, command, FakeReplyOverride::Mode::NoReply);
}

boost::json::object extendReplies(FakeWorkstation& workstation, const boost::json::object& command)
{
    return overrideReplies(workstation, command, FakeReplyOverride::Mode::ExtraKeys);
}

boost::json::object normalReplies(FakeWorkstation& workstation, const boost::json::object&)
{
    workstation.router().clearReplyOverrides();
    return {};
}

boost::json::object scriptJobs(FakeWorkstation& workstation, const boost::json::object&)
{
    FakeControlJobs::scriptAll(workstation.router());
    fake_workstation::scriptCalibrationJobs(workstation.router());
    return {};
}

boost::json::object playJobsWithoutPauses(FakeWorkstation& workstation, const boost::json::object&)
{
    workstation.router().playJobsWithoutPauses();
    return {};
}

boost::json::object playEndlessJobs(FakeWorkstation& workstation, const boost::json::object&)
{
    // Started, and nothing follows.
    workstation.router().setJobScript(FakeJobScript());
    return {};
}

boost::json::object withholdDownloadData(FakeWorkstation& workstation, const boost::json::object&)
{
    FakeDownloadKnobs knobs;
    knobs.omitBinary = true;
    workstation.router().setDownloadKnobs(knobs);
    return {};
}

boost::json::object countRequests(FakeWorkstation& workstation, const boost::json::object& command)
{
    const boost::json::value* counted = command.if_contains("command");
    if (counted == nullptr || !counted->is_string()) {
        return {{"error", "command missing"}};
    }
    return {{"requests", workstation.router().requests(counted->get_string()).size()}};
}

boost::json::object setMeshContent(FakeWorkstation& workstation, const boost::json::object& command)
{
    const boost::json::value* content = command.if_contains("content");
    if (content == nullptr || !content->is_string()) {
        return {{"error", "not a mesh content"}};
    }
    workstation.router().setJobScript("\xF0\x9F\x9B\xA0\xEF\xB8\x8F/get_mesh_json_file",
                                      fake_workstation::meshFileScript(content->get_string()));
    return {};
}

const std::map<std::string_view, Command> kCommands = {
    {"close", closeConnection},
    {"drop", dropConnection},
    {"connections", countConnections},
    {"messages", listMessages},
    {"setting_outcome", setSettingOutcome},
    {"fail", failReplies},
    {"silent", silenceReplies},
    {"extra", extendReplies},
    {"normal", normalReplies},
    {"script_jobs", scriptJobs},
    {"no_pauses", playJobsWithoutPauses},
    {"mesh_content", setMeshContent},
    {"endless_jobs", playEndlessJobs},
    {"no_download_data", withholdDownloadData},
    {"requests", countRequests},
};

} // namespace

boost::json::object control(FakeWorkstation& workstation, const std::string& line)
{
    boost::system::error_code error;
    const boost::json::value command = boost::json::parse(line, error);
    const boost::json::object* object = error ? nullptr : command.if_object();
    const boost::json::value* what = object ? object->if_contains("do") : nullptr;
    if (what == nullptr || !what->is_string()) {
        return {{"error", "not a command"}};
    }
    const auto found = kCommands.find(std::string_view(what->get_string()));
    if (found == kCommands.end()) {
        return {{"error", "unknown command"}};
    }
    return found->second(workstation, *object);
}
