#include "fake_workstation/fake_request_router.hpp"

#include "fake_workstation/fake_job_script.hpp"
#include "marlek_json_common/json_common/logging/error_object_json.hpp"
#include "marlek_json_common/json_common/resources/resourceinfo_json.hpp"
#include "marlek_json_common/json_common/text/base64.hpp"

#include <boost/json.hpp>

#include <algorithm>

namespace {

std::string stringMember(const boost::json::object& object, std::string_view key)
{
    const auto* value = object.if_contains(key);
    return value && value->is_string() ? std::string(value->get_string()) : std::string();
}

std::uint64_t unsignedMember(const boost::json::object& object, std::string_view key)
{
    const auto* value = object.if_contains(key);
    if (value && value->is_uint64()) {
        return value->get_uint64();
    }
    if (value && value->is_int64() && value->get_int64() >= 0) {
        return static_cast<std::uint64_t>(value->get_int64());
    }
    return 0;
}

boost::json::object failedReply(const boost::json::object& request, const ErrorObject& error)
{
    boost::json::object reply{{"type", "REPLY"}};
    if (const auto* id = request.if_contains("request_id")) {
        reply["request_id"] = *id;
    }
    reply["status"] = "FAILED";
    reply["error"] = boost::json::value_from(error);
    return reply;
}

ErrorObject notFound(const std::string& id)
{
    return ErrorObject(ErrorCodeEnum::ID_NOT_FOUND, "could not find {0} with {1} '{2}'", "resource", "resource_id", id);
}

} // namespace

std::vector<FakeOutgoingFrame> FakeRequestRouter::route(std::string_view text)
{
    boost::system::error_code parseError;
    boost::json::value parsed = boost::json::parse(text, parseError);
    if (parseError || !parsed.is_object()) {
        return {};
    }
    const boost::json::object& request = parsed.get_object();
    std::lock_guard lock(mutex);
    routed.push_back(request);
    const std::string command = stringMember(request, "do");
    // The stop command is never answered.
    if (command.empty() || command == "/stop") {
        return {};
    }
    const auto found = overrides.find(command);
    const FakeReplyOverride override = found == overrides.end() ? FakeReplyOverride{} : found->second;
    using Mode = FakeReplyOverride::Mode;
    if (override.mode == Mode::NoReply) {
        return {};
    }
    if (override.mode == Mode::RawText) {
        return {{false, override.rawText, {}}};
    }
    if (command == "/job/start" && override.mode == Mode::Normal) {
        return startJob(request);
    }

    bool download = false;
    boost::json::object reply = normalReply(command, request, download);
    switch (override.mode) {
    case Mode::Failed:
        reply = failedReply(request, override.error);
        download = false;
        break;
    case Mode::WithoutResultKeys: {
        boost::json::object bare;
        for (const char* key : {"type", "request_id", "status", "error"}) {
            if (const auto* value = reply.if_contains(key)) {
                bare[key] = *value;
            }
        }
        reply = std::move(bare);
        break;
    }
    case Mode::WithoutStatus:
        reply.erase("status");
        break;
    case Mode::ForeignRequestId:
        reply["request_id"] = "foreign-request";
        break;
    case Mode::ExtraKeys:
        for (const auto& [key, value] : override.extraKeys) {
            reply[key] = value;
        }
        break;
    default:
        break;
    }

    const std::chrono::milliseconds delay = override.mode == Mode::Delayed ? override.delay : std::chrono::milliseconds(0);
    std::vector<FakeOutgoingFrame> frames;
    frames.push_back({false, boost::json::serialize(reply), delay});
    if (override.mode == Mode::Twice) {
        frames.push_back(frames.front());
    }
    if (download && !downloadKnobs.omitBinary) {
        std::string content = std::move(pendingDownloadContent);
        content.resize(content.size() - std::min(content.size(), downloadKnobs.truncateBy));
        content.append(downloadKnobs.extendBy, '\x5a');
        FakeOutgoingFrame binary{true, std::move(content), delay};
        if (downloadKnobs.binaryBeforeReply) {
            frames.insert(frames.begin(), std::move(binary));
        } else {
            frames.push_back(std::move(binary));
        }
    }
    return frames;
}

boost::json::object FakeRequestRouter::normalReply(const std::string& command, const boost::json::object& request,
                                                   bool& download)
{
    boost::json::object reply{{"type", "REPLY"}};
    if (const auto* id = request.if_contains("request_id")) {
        reply["request_id"] = *id;
    }
    reply["status"] = "SUCCESS";
    if (command == "/id") {
        reply["workstation"] = boost::json::object{
            {"protocol_version", 12}, {"serial_number", "SN-1"},   {"model_name", "M"},
            {"firmware_version", "1.0"}, {"firmware_build_id", "b"}, {"cpu_card_uuid", "u"},
            {"system_mac", "00:11:22:33:44:55"}, {"system_name", "ws"}, {"mode", "NORMAL"},
        };
    } else if (command == "/status") {
        reply["workstation_status"] =
            boost::json::object{{"busy", false}, {"uptime", 1234}, {"last_dc_calibration", "never"}};
    } else if (!queryHandlers.handle(command, request, reply)) {
        resourceReply(command, request, reply, download);
    }
    return reply;
}

void FakeRequestRouter::resourceReply(const std::string& command, const boost::json::object& request,
                                      boost::json::object& reply, bool& download)
{
    const auto slash = command.find('/', 1);
    if (command.size() < 2 || slash == std::string::npos) {
        return;
    }
    const auto type = resourceTypeFromName(std::string_view(command).substr(1, slash - 1));
    if (!type) {
        return;
    }
    const std::string verb = command.substr(slash + 1);
    Store& store = resources[*type];
    if (verb == "list") {
        boost::json::array list;
        for (const auto& [id, stored] : store) {
            list.push_back(describe(*type, id, stored));
        }
        reply["resources"] = std::move(list);
        return;
    }
    if (verb == "create") {
        const std::string id = "res-" + std::to_string(nextResourceNumber++);
        const auto& stored = store[id] = StoredResource{stringMember(request, "name"), {}};
        reply["resource"] = describe(*type, id, stored);
        return;
    }
    const std::string id = stringMember(request, "resource_id");
    const auto entry = store.find(id);
    if (entry == store.end()) {
        reply = failedReply(request, notFound(id));
        return;
    }
    StoredResource& stored = entry->second;
    if (verb == "append") {
        std::string bytes;
        if (std::optional<std::string> refusal =
                base64::decode(stringMember(request, "data"), base64::Policy::Strict, bytes)) {
            reply = failedReply(request, ErrorObject(ErrorCodeEnum::RESOURCE_CONTENT_INVALID,
                                                     "resource content invalid: {0}", *refusal));
            return;
        }
        stored.content += bytes;
    } else if (verb == "get") {
        const std::uint64_t offset = std::min<std::uint64_t>(unsignedMember(request, "offset"), stored.content.size());
        const std::uint64_t limit = unsignedMember(request, "limit");
        reply["data"] = base64::encode(std::string_view(stored.content).substr(offset, limit));
        reply["resource_total_size"] = stored.content.size();
    } else if (verb == "info") {
        reply["resource"] = describe(*type, id, stored);
    } else if (verb == "delete") {
        store.erase(entry);
    } else if (verb == "download") {
        pendingDownloadContent = stored.content;
        download = true;
    }
}

boost::json::value FakeRequestRouter::describe(ResourceTypeEnum type, const std::string& id,
                                               const StoredResource& stored) const
{
    ResourceInfo info = stored.description;
    info.resource_id = id;
    info.type = type;
    info.name = stored.name;
    info.created = "2024-01-01T00:00:00.000000";
    info.updated = "2024-01-01T00:00:00.000000";
    info.size = stored.content.size();
    return boost::json::value_from(info);
}

void FakeRequestRouter::setReplyOverride(const std::string& command, FakeReplyOverride override)
{
    std::lock_guard lock(mutex);
    overrides[command] = std::move(override);
}

void FakeRequestRouter::clearReplyOverrides()
{
    std::lock_guard lock(mutex);
    overrides.clear();
}

void FakeRequestRouter::setDownloadKnobs(const FakeDownloadKnobs& knobs)
{
    std::lock_guard lock(mutex);
    downloadKnobs = knobs;
}

std::string FakeRequestRouter::addResource(ResourceTypeEnum type, const std::string& name, const std::string& content)
{
    std::lock_guard lock(mutex);
    const std::string id = "res-" + std::to_string(nextResourceNumber++);
    resources[type][id] = StoredResource{name, content};
    return id;
}

std::string FakeRequestRouter::addResource(const ResourceInfo& description, const std::string& content)
{
    std::lock_guard lock(mutex);
    const std::string id = "res-" + std::to_string(nextResourceNumber++);
    resources[description.type][id] = StoredResource{description.name, content, description};
    return id;
}

std::optional<std::string> FakeRequestRouter::resourceContent(ResourceTypeEnum type, const std::string& resourceId) const
{
    std::lock_guard lock(mutex);
    const auto store = resources.find(type);
    if (store == resources.end()) {
        return std::nullopt;
    }
    const auto entry = store->second.find(resourceId);
    if (entry == store->second.end()) {
        return std::nullopt;
    }
    return entry->second.content;
}

std::size_t FakeRequestRouter::resourceCount(ResourceTypeEnum type) const
{
    std::lock_guard lock(mutex);
    const auto store = resources.find(type);
    return store == resources.end() ? 0 : store->second.size();
}

std::vector<boost::json::object> FakeRequestRouter::requests(std::string_view command) const
{
    std::lock_guard lock(mutex);
    std::vector<boost::json::object> matching;
    for (const auto& request : routed) {
        const auto* value = request.if_contains("do");
        if (value && value->is_string() && value->get_string() == command) {
            matching.push_back(request);
        }
    }
    return matching;
}
