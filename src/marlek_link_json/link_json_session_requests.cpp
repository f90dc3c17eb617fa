#include "marlek_link_json/link_json_session.hpp"

#include "marlek_json_common/json_common/logging/error_factory_json.hpp"
#include "marlek_json_common/json_common/logging/error_object_json.hpp"
#include "marlek_link_json/jobs/abstract_measurementjob.hpp"
#include "marlek_link_json/jobs/common/jobinfo.hpp"

#include <boost/json.hpp>
#include <boost/uuid/uuid_io.hpp>

#include <exception>
#include <iostream>

namespace {

// Cancellation calls foreign callbacks with a table locked: one that throws
// must neither leave the lock held nor stop the others from being told.
template <typename Call>
void callContained(const char* what, Call&& call) noexcept
{
    try {
        call();
    } catch (const std::exception& e) {
        std::cerr << what << " failed: " << e.what() << std::endl;
    } catch (...) {
        std::cerr << what << " failed" << std::endl;
    }
}

} // namespace

bool LinkJsonSession::wasSuccessful(const boost::json::object& reply)
{
    const auto* status = reply.if_contains("status");
    return status && status->is_string() && status->get_string() == "SUCCESS";
}

ErrorObject LinkJsonSession::getError(const boost::json::object& reply)
{
    const auto* error = reply.if_contains("error");
    if (error && error->is_object()) {
        return boost::json::value_to<ErrorObject>(*error);
    }
    return ErrorObject(ErrorCodeEnum::UNKNOWN_ERR, "an unknown error occured");
}

boost::json::object LinkJsonSession::makeFailedReply(const boost::json::string& requestId, const ErrorObject& error)
{
    return boost::json::object{
        {"type", "REPLY"},
        {"request_id", requestId},
        {"status", "FAILED"},
        {"error", ErrorFactory::makeJsonError(error)},
    };
}

std::string LinkJsonSession::serialize(const boost::json::object& message)
{
    boost::json::serialize_options options;
    options.allow_infinity_and_nan = true;
    return boost::json::serialize(message, options);
}

boost::json::string LinkJsonSession::makeRequestId()
{
    if (inheritedByFork()) {
        return boost::json::string("void");
    }
    boost::uuids::uuid id;
    {
        std::lock_guard lock(requestIdGeneratorMutex);
        id = requestIdGenerator();
    }
    return boost::json::string(boost::uuids::to_string(id));
}

void LinkJsonSession::sendRequest(boost::json::object request, const ReplyCallback& callback, int timeout)
{
    if (inheritedByFork()) {
        if (callback) {
            callback(makeFailedReply(makeRequestId(), notConnectedError()));
        }
        return;
    }
    if (timeout < 1) {
        timeout = static_cast<int>(requestTimeout.load().count());
    }
    const boost::json::string requestId = makeRequestId();
    addPendingRequest(requestId, callback, timeout);
    request["request_id"] = requestId;
    sendText(requestId, serialize(request));
}

boost::json::object LinkJsonSession::sendRequest(const boost::json::object& request, int timeout)
{
    if (const auto error = answerCannotArrive()) {
        return makeFailedReply(makeRequestId(), *error);
    }
    std::promise<boost::json::object> reply;
    auto future = reply.get_future();
    sendRequest(request, [&reply](const boost::json::object& message) { reply.set_value(message); }, timeout);
    return future.get();
}

void LinkJsonSession::sendRawRequest(const boost::json::string& requestId, const std::string& text,
                                     const ReplyCallback& callback, int timeout)
{
    if (inheritedByFork()) {
        if (callback) {
            callback(makeFailedReply(requestId, notConnectedError()));
        }
        return;
    }
    addPendingRequest(requestId, callback, timeout);
    sendText(requestId, text);
}

void LinkJsonSession::sendText(const boost::json::string& requestId, const std::string& text)
{
    bool established = false;
    bool sent = false;
    {
        std::lock_guard lock(llSessionMutex);
        established = llSession && connectionEstablished;
        sent = established && llSession->send(text);
    }
    // Failing runs the request's callback, so outside the lock.
    if (!established) {
        failRequestAtOnce(requestId, ErrorFactory::makeError<ErrorCodeEnum::CONNECTION_NOT_ESTABLISHED>());
    } else if (!sent) {
        failRequestAtOnce(requestId, ErrorFactory::makeError<ErrorCodeEnum::CONNECTION_BROKEN>());
    }
}

void LinkJsonSession::failRequestAtOnce(const boost::json::string& requestId, const ErrorObject& error)
{
    resolvePendingRequest(requestId, makeFailedReply(requestId, error));
}

void LinkJsonSession::addPendingRequest(const boost::json::string& requestId, ReplyCallback callback, int timeout)
{
    if (inheritedByFork()) {
        return;
    }
    PendingRequest replaced; // let go of outside the lock
    {
        std::lock_guard lock(pendingRequestsMutex);
        auto [entry, added] = pendingRequests.try_emplace(requestId);
        replaced = std::exchange(entry->second, PendingRequest{std::move(callback), nullptr});
    }
    cancelTimeout(replaced.timeout);
    addRequestTimeout(requestId, timeout);
}

void LinkJsonSession::resolvePendingRequest(const boost::json::string& requestId, const boost::json::object& reply)
{
    if (inheritedByFork()) {
        return;
    }
    PendingRequest pending;
    {
        std::lock_guard lock(pendingRequestsMutex);
        const auto entry = pendingRequests.find(requestId);
        if (entry == pendingRequests.end()) {
            return;
        }
        pending = std::move(entry->second);
        pendingRequests.erase(entry);
    }
    cancelTimeout(pending.timeout);
    if (pending.callback) {
        pending.callback(reply);
    }
}

void LinkJsonSession::addRequestTimeout(boost::json::string requestId, int timeout)
{
    auto pendingTimeout = startTimeout(std::chrono::milliseconds(timeout), [this, requestId] {
        resolvePendingRequest(requestId,
                              makeFailedReply(requestId, ErrorFactory::makeError<ErrorCodeEnum::OPERATION_TIMED_OUT>()));
    });
    if (!pendingTimeout) {
        return;
    }
    {
        std::lock_guard lock(pendingRequestsMutex);
        const auto entry = pendingRequests.find(requestId);
        if (entry != pendingRequests.end()) {
            entry->second.timeout = std::move(pendingTimeout);
            return;
        }
    }
    // Resolved while its time-out was being set up.
    cancelTimeout(pendingTimeout);
}

std::shared_ptr<LinkJsonSession::PendingTimeout> LinkJsonSession::startTimeout(std::chrono::milliseconds wait,
                                                                               std::function<void()> onExpiry)
{
    if (inheritedByFork()) {
        return nullptr;
    }
    return timeouts->start(wait, [onExpiry = std::move(onExpiry)] { callContained("time-out handling", onExpiry); });
}

void LinkJsonSession::cancelTimeout(const std::shared_ptr<PendingTimeout>& timeout)
{
    if (inheritedByFork()) {
        return;
    }
    timeouts->cancel(timeout);
}

void LinkJsonSession::cancelPendingOperations()
{
    cancelConnectAttempt();
    cancelAllPendingOperations(CancellationReason::CANCELLED_BY_USER);
}

void LinkJsonSession::cancelAllPendingOperations(CancellationReason reason)
{
    if (inheritedByFork()) {
        return;
    }
    const bool closed = reason == CancellationReason::CONNECTION_CLOSED;
    const ErrorObject error = closed ? ErrorFactory::makeError<ErrorCodeEnum::CONNECTION_WAS_CLOSED>()
                                     : ErrorFactory::makeError<ErrorCodeEnum::STOPPED_MANUALLY>();
    const boost::json::value jsonError = ErrorFactory::makeJsonError(error);
    const boost::json::string& statusDetail =
        closed ? JOB_STATUS_DETAIL_CONNECTION_LOSS : JOB_STATUS_DETAIL_STOPPED_BY_USER;

    // Each table is taken out whole and its callbacks are called, and let
    // go of, outside its lock: they may call into the session again, and
    // their destructors too.
    //
    // Requests first: a job whose start is still unanswered ends through its
    // start request's callback, as FAILED_TO_CREATE.
    decltype(pendingRequests) requests;
    {
        std::lock_guard lock(pendingRequestsMutex);
        requests.swap(pendingRequests);
    }
    for (auto& [requestId, pending] : requests) {
        cancelTimeout(pending.timeout);
        if (pending.callback) {
            callContained("cancelling a request", [&] { pending.callback(makeFailedReply(requestId, error)); });
        }
    }
    decltype(pendingJobs) jobs;
    {
        std::lock_guard lock(pendingJobsMutex);
        jobs.swap(pendingJobs);
    }
    {
        for (auto& [requestId, pending] : jobs) {
            callContained("cancelling a job", [&] {
                const std::string jobId = pending.job ? pending.job->getLastJobInfo().jobId : std::string("void");
                const boost::json::object completion{
                    {"type", "JOB_DONE"},
                    {"error", jsonError},
                    {"request_id", requestId},
                    {"job_info",
                     boost::json::object{
                         {"job_id", jobId},
                         {"status", JOB_STATUS_FAILED},
                         {"status_detail", statusDetail},
                         {"error", jsonError},
                     }},
                };
                if (pending.callback) {
                    pending.callback(completion);
                }
            });
        }
    }
    decltype(pendingOperations) operations;
    {
        std::lock_guard lock(pendingOperationsMutex);
        operations.swap(pendingOperations);
    }
    for (const auto& operation : operations) {
        if (operation && *operation) {
            callContained("cancelling an operation", [&] { (*operation)(reason); });
        }
    }
    std::shared_ptr<DownloadCallback> download;
    {
        std::lock_guard lock(pendingDownloadMutex);
        download = std::exchange(pendingDownload, nullptr);
    }
    if (download && *download) {
        callContained("cancelling a download", [&] {
            (*download)(std::string(), ErrorObject(error.getErrorCodeEnum(), error.getMessageFormatString()));
        });
    }
}

void LinkJsonSession::addPendingOperation(const std::shared_ptr<PendingOperation>& operation)
{
    if (inheritedByFork()) {
        return;
    }
    std::lock_guard lock(pendingOperationsMutex);
    pendingOperations.insert(operation);
}

void LinkJsonSession::deletePendingOperation(const std::shared_ptr<PendingOperation>& operation)
{
    if (inheritedByFork()) {
        return;
    }
    decltype(pendingOperations)::node_type removed; // let go of outside the lock
    std::lock_guard lock(pendingOperationsMutex);
    removed = pendingOperations.extract(operation);
}

void LinkJsonSession::addPendingJob(const boost::json::string& requestId, ReplyCallback callback,
                                    AbstractMeasurementJob* job)
{
    if (inheritedByFork()) {
        return;
    }
    PendingJob replaced; // let go of outside the lock
    std::lock_guard lock(pendingJobsMutex);
    auto [entry, added] = pendingJobs.try_emplace(requestId);
    replaced = std::exchange(entry->second, PendingJob{std::move(callback), job});
}

void LinkJsonSession::resolvePendingJob(const boost::json::string& requestId, const boost::json::object& completion)
{
    if (inheritedByFork()) {
        return;
    }
    ReplyCallback callback;
    {
        std::lock_guard lock(pendingJobsMutex);
        const auto entry = pendingJobs.find(requestId);
        if (entry == pendingJobs.end()) {
            return;
        }
        callback = std::move(entry->second.callback);
        pendingJobs.erase(entry);
    }
    if (callback) {
        callback(completion);
    }
}
