#pragma once

#include "fake_workstation/fake_request_router.hpp"
#include "marlek_json_common/json_common/logging/error_object.hpp"

#include <boost/json/object.hpp>
#include <boost/json/value.hpp>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What the fake does when a client starts a job: the REPLY to "/job/start",
// then the script's steps in order, e.g.
//   FakeJobScript().event(header).event(rows).sleep(20ms).jobDone("FINISHED", "NONE", {})
// Steps run on the server thread while the connection keeps answering
// other requests. Every start of a job runs the whole script again.
class FakeJobScript {
public:
    enum class StartReply {
        SuccessWithJobInfo, // "job_info": {"job_id", "status": "PENDING"}
        Success,            // no "job_info"
        Failed,             // "status" "FAILED" with startError
        None,               // no REPLY at all
    };

    FakeJobScript& replyToStart(StartReply reply, ErrorObject error = {ErrorCodeEnum::UNKNOWN_ERR, "refused"});
    // {"type": "EVENT", "event": event}. A "job_info" object of the event
    // without "job_id" gets the started job's id.
    FakeJobScript& event(boost::json::object event);
    FakeJobScript& sleep(std::chrono::milliseconds wait);
    // {"type": "JOB_DONE", "request_id" (of the start), "job_info": {"job_id",
    // "status", "status_detail", "error"}, "result"?}
    FakeJobScript& jobDone(std::string_view status, std::string_view statusDetail, const ErrorObject& error,
                           std::optional<boost::json::value> result = std::nullopt);
    // The same with a "job_info" of the test's own making, after "job_id"
    // (which it may replace).
    FakeJobScript& jobDoneWithInfo(boost::json::object jobInfo,
                                   std::optional<boost::json::value> result = std::nullopt);
    // Any text, e.g. a JOB_DONE with content the client cannot read.
    FakeJobScript& raw(std::string text);
    // TCP close without a close frame.
    FakeJobScript& drop();
    FakeJobScript& close(std::uint16_t code = 1000);

    // The frames that answer one start request of the job jobId.
    std::vector<FakeOutgoingFrame> play(const boost::json::object& request, const std::string& jobId) const;

private:
    struct Step {
        enum class Kind { Event, Sleep, JobDone, Raw, Drop, Close };
        Kind kind;
        boost::json::object payload;
        std::chrono::milliseconds wait{0};
        std::string text;
        std::uint16_t code = 1000;
    };

    StartReply startReply = StartReply::SuccessWithJobInfo;
    ErrorObject startError;
    std::vector<Step> steps;
};
