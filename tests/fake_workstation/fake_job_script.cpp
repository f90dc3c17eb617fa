#include "fake_workstation/fake_job_script.hpp"

#include "marlek_json_common/json_common/logging/error_object_json.hpp"
#include "marlek_json_common/json_common/text/format.hpp"

#include <boost/json.hpp>

#include <memory>
#include <mutex>
#include <utility>

FakeJobScript& FakeJobScript::replyToStart(StartReply reply, ErrorObject error)
{
    startReply = reply;
    startError = std::move(error);
    return *this;
}

FakeJobScript& FakeJobScript::event(boost::json::object event)
{
    steps.push_back({Step::Kind::Event, std::move(event)});
    return *this;
}

FakeJobScript& FakeJobScript::sleep(std::chrono::milliseconds wait)
{
    steps.push_back({Step::Kind::Sleep, {}, wait});
    return *this;
}

FakeJobScript& FakeJobScript::jobDone(std::string_view status, std::string_view statusDetail,
                                      const ErrorObject& error, std::optional<boost::json::value> result)
{
    boost::json::object info{
        {"status", status},
        {"status_detail", statusDetail},
        {"error", boost::json::value_from(error)},
    };
    return jobDoneWithInfo(std::move(info), std::move(result));
}

FakeJobScript& FakeJobScript::jobDoneWithInfo(boost::json::object jobInfo, std::optional<boost::json::value> result)
{
    boost::json::object payload{{"job_info", std::move(jobInfo)}};
    if (result) {
        payload["result"] = std::move(*result);
    }
    steps.push_back({Step::Kind::JobDone, std::move(payload)});
    return *this;
}

FakeJobScript& FakeJobScript::raw(std::string text)
{
    steps.push_back({Step::Kind::Raw, {}, {}, std::move(text)});
    return *this;
}

FakeJobScript& FakeJobScript::drop()
{
    steps.push_back({Step::Kind::Drop});
    return *this;
}

FakeJobScript& FakeJobScript::close(std::uint16_t code)
{
    steps.push_back({Step::Kind::Close, {}, {}, {}, code});
    return *this;
}

std::vector<FakeOutgoingFrame> FakeJobScript::play(const boost::json::object& request, const std::string& jobId) const
{
    const boost::json::value requestId = request.contains("request_id") ? request.at("request_id") : nullptr;
    std::vector<FakeOutgoingFrame> frames;
    const auto send = [&frames](const boost::json::object& message, std::chrono::milliseconds wait) {
        FakeOutgoingFrame frame{false, boost::json::serialize(message), wait};
        frame.afterPrevious = true;
        frames.push_back(std::move(frame));
    };

    boost::json::object reply{{"type", "REPLY"}, {"request_id", requestId}};
    switch (startReply) {
    case StartReply::SuccessWithJobInfo:
        reply["status"] = "SUCCESS";
        reply["job_info"] = boost::json::object{{"job_id", jobId}, {"status", "PENDING"}};
        break;
    case StartReply::Success:
        reply["status"] = "SUCCESS";
        break;
    case StartReply::Failed:
        reply["status"] = "FAILED";
        reply["error"] = boost::json::value_from(startError);
        break;
    case StartReply::None:
        break;
    }
    if (startReply != StartReply::None) {
        send(reply, {});
    }

    std::chrono::milliseconds wait{0};
    for (const Step& step : steps) {
        switch (step.kind) {
        case Step::Kind::Sleep:
            wait += step.wait;
            continue;
        case Step::Kind::Event: {
            boost::json::object event = step.payload;
            if (auto* info = event.if_contains("job_info"); info && info->is_object() &&
                                                            !info->get_object().contains("job_id")) {
                info->get_object()["job_id"] = jobId;
            }
            send(boost::json::object{{"type", "EVENT"}, {"event", std::move(event)}}, wait);
            break;
        }
        case Step::Kind::JobDone: {
            boost::json::object info{{"job_id", jobId}};
            for (const auto& [key, value] : step.payload.at("job_info").get_object()) {
                info[key] = value;
            }
            boost::json::object done{{"type", "JOB_DONE"}, {"request_id", requestId}, {"job_info", std::move(info)}};
            if (const auto* result = step.payload.if_contains("result")) {
                done["result"] = *result;
            }
            send(done, wait);
            break;
        }
        case Step::Kind::Raw: {
            FakeOutgoingFrame frame{false, step.text, wait};
            frame.afterPrevious = true;
            frames.push_back(std::move(frame));
            break;
        }
        case Step::Kind::Drop:
        case Step::Kind::Close: {
            FakeOutgoingFrame frame{false, {}, wait};
            frame.afterPrevious = true;
            frame.action =
                step.kind == Step::Kind::Drop ? FakeOutgoingFrame::Action::Drop : FakeOutgoingFrame::Action::Close;
            frame.closeCode = step.code;
            frames.push_back(std::move(frame));
            break;
        }
        }
        wait = {};
    }
    return frames;
}

void FakeRequestRouter::setJobScript(const FakeJobScript& script)
{
    std::lock_guard lock(mutex);
    jobScript = std::make_shared<const FakeJobScript>(script);
}

void FakeRequestRouter::setJobScript(const std::string& jobType, const FakeJobScript& script)
{
    std::lock_guard lock(mutex);
    jobScriptsByType.insert_or_assign(jobType, std::make_shared<const FakeJobScript>(script));
}

std::vector<FakeOutgoingFrame> FakeRequestRouter::startJob(const boost::json::object& request)
{
    const std::string jobId = mfmt::format("job-{:04}", ++jobsStarted);
    std::shared_ptr<const FakeJobScript> script = jobScript;
    if (const auto* job = request.if_contains("job"); job != nullptr && job->is_object()) {
        if (const auto* type = job->get_object().if_contains("type"); type != nullptr && type->is_string()) {
            if (const auto byType = jobScriptsByType.find(std::string_view(type->get_string()));
                byType != jobScriptsByType.end()) {
                script = byType->second;
            }
        }
    }
    std::vector<FakeOutgoingFrame> frames = script ? script->play(request, jobId) : FakeJobScript().play(request, jobId);
    if (!jobPauses) {
        for (FakeOutgoingFrame& frame : frames) {
            frame.delay = std::chrono::milliseconds(0);
        }
    }
    return frames;
}

void FakeRequestRouter::playJobsWithoutPauses()
{
    std::lock_guard lock(mutex);
    jobPauses = false;
}
