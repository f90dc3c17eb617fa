#pragma once

#include "fake_workstation/fake_query_handlers.hpp"
#include "marlek_json_common/json_common/logging/error_object.hpp"
#include "marlek_json_common/json_common/resources/resource_types.hpp"
#include "marlek_json_common/json_common/resources/resourceinfo.hpp"

#include <boost/json/object.hpp>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class FakeJobScript;

// How the fake answers one command instead of its normal reply.
struct FakeReplyOverride {
    enum class Mode {
        Normal,
        Failed,           // "status" "FAILED" with error
        NoReply,          // silence
        Delayed,          // the normal reply after delay
        Twice,            // the normal reply, twice
        ForeignRequestId, // the normal reply with another "request_id"
        RawText,          // rawText instead of any JSON
        WithoutResultKeys,
        WithoutStatus,
        ExtraKeys,        // the normal reply with extraKeys set over it
    };
    Mode mode = Mode::Normal;
    ErrorObject error{ErrorCodeEnum::UNKNOWN_ERR, "an unknown error occured"};
    std::chrono::milliseconds delay{0};
    std::string rawText;
    boost::json::object extraKeys;
};

// How the fake sends the binary frame that follows a download REPLY.
struct FakeDownloadKnobs {
    bool binaryBeforeReply = false;
    std::size_t truncateBy = 0;
    std::size_t extendBy = 0;
    bool omitBinary = false;
};

struct FakeOutgoingFrame {
    // Send the frame, or end the connection once everything before has been
    // written: abruptly, or with a close frame of closeCode.
    enum class Action { Send, Drop, Close };

    bool binary = false;
    std::string bytes;
    std::chrono::milliseconds delay{0};
    Action action = Action::Send;
    std::uint16_t closeCode = 1000;
    // The delay counts from the previous frame of the same answer instead of
    // from the request, so a script's steps keep their order and spacing.
    bool afterPrevious = false;
};

// The request side of the fake: reads each text message as a request, routes
// it by "do" and says what to send back. Resources live in memory, per type,
// with ids "res-1", "res-2", ... Thread-safe: tests configure it while the
// server thread routes.
class FakeRequestRouter {
public:
    std::vector<FakeOutgoingFrame> route(std::string_view text);

    // command is the "do" text, e.g. "/WAVE/get".
    void setReplyOverride(const std::string& command, FakeReplyOverride override);
    void clearReplyOverrides();
    void setDownloadKnobs(const FakeDownloadKnobs& knobs);
    // What every later "/job/start" runs (fake_job_script.hpp); each start
    // gets the next job id, "job-0001", "job-0002", ... Without a script a
    // start is accepted and nothing follows.
    void setJobScript(const FakeJobScript& script);
    // What every later "/job/start" of this job "type" runs instead.
    void setJobScript(const std::string& jobType, const FakeJobScript& script);
    // Later job starts play their script's steps back to back, without its
    // pauses: for tests that look only at what was sent.
    void playJobsWithoutPauses();

    // Stores a resource as if a client had created and filled it; its id.
    std::string addResource(ResourceTypeEnum type, const std::string& name, const std::string& content);
    // The same with the rest of a description (sub_type, created_by, job_id,
    // header: what a job result carries); id, size and times are the store's.
    std::string addResource(const ResourceInfo& description, const std::string& content);
    std::optional<std::string> resourceContent(ResourceTypeEnum type, const std::string& resourceId) const;
    std::size_t resourceCount(ResourceTypeEnum type) const;

    // Every request routed so far with this "do", oldest first.
    std::vector<boost::json::object> requests(std::string_view command) const;

    // Settings, jobs and connections behind the query commands.
    FakeQueryHandlers& queries() { return queryHandlers; }

private:
    struct StoredResource {
        std::string name;
        std::string content;
        ResourceInfo description;
    };
    using Store = std::map<std::string, StoredResource>;

    boost::json::object normalReply(const std::string& command, const boost::json::object& request, bool& download);
    void resourceReply(const std::string& command, const boost::json::object& request, boost::json::object& reply,
                       bool& download);
    std::vector<FakeOutgoingFrame> startJob(const boost::json::object& request);
    boost::json::value describe(ResourceTypeEnum type, const std::string& id, const StoredResource& stored) const;

    mutable std::mutex mutex;
    std::map<std::string, FakeReplyOverride> overrides;
    FakeDownloadKnobs downloadKnobs;
    std::map<ResourceTypeEnum, Store> resources;
    std::uint64_t nextResourceNumber = 1;
    std::vector<boost::json::object> routed;
    std::string pendingDownloadContent;
    std::shared_ptr<const FakeJobScript> jobScript;
    std::map<std::string, std::shared_ptr<const FakeJobScript>, std::less<>> jobScriptsByType;
    bool jobPauses = true;
    std::uint64_t jobsStarted = 0;
    FakeQueryHandlers queryHandlers;
};
