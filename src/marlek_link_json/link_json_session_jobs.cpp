#include "marlek_link_json/link_json_session.hpp"

#include "marlek_json_common/json_common/logging/error_factory_json.hpp"
#include "marlek_json_common/json_common/logging/error_object_json.hpp"
#include "marlek_link_json/events/marleklinkeventhandler.hpp"
#include "marlek_link_json/jobs/abstract_measurementjob.hpp"
#include "marlek_link_json/jobs/common/jobinfo.hpp"
#include "marlek_link_json/jobs/common/jobinfo_json.hpp"
#include "marlek_link_json/jobs/common/jobrequest_json.hpp"
#include "marlek_link_json/jobs/result_content_error.hpp"
#include "marlek_link_json/once_promise.hpp"

#include <boost/json.hpp>
#include <boost/scope/scope_exit.hpp>

#include <exception>
#include <iostream>
#include <memory>

namespace {

// A start that can no longer produce a job (refused, unanswered, cancelled
// before its REPLY) ends as this completion, so that the job's reader sees
// one shape for every end.
boost::json::object makeFailedToCreateCompletion(const boost::json::string& requestId,
                                                 const boost::json::value& error)
{
    return boost::json::object{
        {"type", "JOB_DONE"},
        {"error", error},
        {"request_id", requestId},
        {"job_info",
         boost::json::object{
             {"job_id", "void"},
             {"status", LinkJsonSession::JOB_STATUS_FAILED},
             {"status_detail", LinkJsonSession::JOB_STATUS_DETAIL_FAILED_TO_CREATE},
             {"error", error},
         }},
    };
}

// The refusal's error. A REPLY without an error object would otherwise read
// as "no error" in the job information and report a failed start as success.
boost::json::value refusalError(const boost::json::object& reply)
{
    if (const auto* error = reply.if_contains("error"); error && error->is_object()) {
        return *error;
    }
    return ErrorFactory::makeJsonError(ErrorObject(ErrorCodeEnum::UNKNOWN_ERR, "an unknown error occured"));
}

ErrorObject jobNotFound(const std::string& jobId)
{
    return ErrorObject(ErrorCodeEnum::ID_NOT_FOUND, "could not find {0} with {1} '{2}'", "job", "job_id", jobId);
}

ErrorObject malformed(const std::exception& e)
{
    return ErrorObject(ErrorCodeEnum::JSON_MALFORMED, "json malformed: {0}", e.what());
}

} // namespace

void LinkJsonSession::doControlJob(const std::string& type, const boost::json::object& parameters,
                                   const ReplyCallback& callback, const boost::json::array& stopConditions,
                                   const boost::json::object& metaData, const JobOptions& options,
                                   AbstractMeasurementJob* job)
{
    const boost::json::string requestId = makeRequestId();
    if (inheritedByFork()) {
        if (callback) {
            callback(makeFailedToCreateCompletion(requestId, ErrorFactory::makeJsonError(notConnectedError())));
        }
        return;
    }
    addPendingJob(requestId, callback, job);
    boost::json::object request =
        makeJobRequestObject("/job/start", type, parameters, stopConditions, metaData, options);
    request["request_id"] = requestId;
    sendRawRequest(
        requestId, serialize(request),
        [this, requestId](const boost::json::object& reply) {
            const auto* status = reply.if_contains("status");
            // A REPLY without a status is no acceptance: left pending, the
            // job would wait for a JOB_DONE that may never come.
            if (!status || !status->is_string() || status->get_string() != "SUCCESS") {
                resolvePendingJob(requestId, makeFailedToCreateCompletion(requestId, refusalError(reply)));
                return;
            }
            const auto* info = reply.if_contains("job_info");
            if (!info || !info->is_object()) {
                return;
            }
            try {
                updatePendingJob(requestId, info->get_object());
            } catch (const std::exception& e) {
                // The job's JOB_DONE still ends it; only this snapshot is lost.
                std::cerr << "unreadable job_info in job start reply: " << e.what() << std::endl;
            }
        },
        static_cast<int>(requestTimeout.load().count()));
}

boost::json::object LinkJsonSession::doControlJob(const std::string& type, const boost::json::object& parameters,
                                                  const boost::json::array& stopConditions,
                                                  const boost::json::object& metaData, const JobOptions& options,
                                                  AbstractMeasurementJob* job)
{
    if (const auto error = answerCannotArrive()) {
        return makeFailedToCreateCompletion(makeRequestId(), ErrorFactory::makeJsonError(*error));
    }
    const auto completion = std::make_shared<OncePromise<boost::json::object>>();
    auto future = completion->getFuture();
    doControlJob(
        type, parameters, [completion](const boost::json::object& message) { completion->offer(message); },
        stopConditions, metaData, options, job);
    return future.get();
}

void LinkJsonSession::doControlJob(AbstractMeasurementJob& job, const ReplyCallback& callback,
                                   const boost::json::object& metaData)
{
    doControlJob(job.getName(), job.getParameterObject(), callback, job.getStopConditionsArray(), metaData,
                 job.getJobOptions(), &job);
}

boost::json::object LinkJsonSession::doControlJob(AbstractMeasurementJob& job)
{
    boost::json::object completion = doControlJob(job.getName(), job.getParameterObject(),
                                                  job.getStopConditionsArray(), job.getMetaDataObject(),
                                                  job.getJobOptions(), &job);
    job.processJobResult(completion);
    return completion;
}

ErrorObject LinkJsonSession::doJob(AbstractMeasurementJob& job)
{
    job.setEventHandlers(*this);
    // The handlers reach into the job, which the caller may destroy as soon
    // as this returns: they go on every way out.
    const boost::scope::scope_exit removeHandlers([&] { job.removeEventHandlers(*this); });
    try {
        doControlJob(job);
    } catch (const ResultContentError& e) {
        job.setFailed(ErrorObject(ErrorCodeEnum::RESOURCE_CONTENT_INVALID, "resource content invalid: {0}", e.what()),
                      JobStatusDetailEnum::RUNTIME_ERROR);
    } catch (const std::exception& e) {
        job.setFailed(malformed(e), JobStatusDetailEnum::RUNTIME_ERROR);
    }
    return job.getLastJobInfo().error;
}

void LinkJsonSession::doJobAsync(AbstractMeasurementJob& job, const ReplyCallback& callback)
{
    job.setEventHandlers(*this);
    const boost::scope::scope_exit removeHandlers([&] { job.removeEventHandlers(*this); });
    doControlJob(job, callback, boost::json::object());
}

void LinkJsonSession::updatePendingJob(const boost::json::string& requestId, const boost::json::object& jobInfo)
{
    if (inheritedByFork()) {
        return;
    }
    const JobInfo info = jobInfoFromJson(jobInfo);
    std::lock_guard lock(pendingJobsMutex);
    const auto entry = pendingJobs.find(requestId);
    if (entry != pendingJobs.end() && entry->second.job != nullptr) {
        entry->second.job->setLastJobInfo(info);
    }
}

ErrorObject LinkJsonSession::waitForJobToFinish(AbstractMeasurementJob& job)
{
    if (const auto error = answerCannotArrive()) {
        return *error;
    }
    const std::string jobId = job.getLastJobInfo().jobId;
    const auto markNotFound = [&] {
        ErrorObject error = jobNotFound(jobId);
        job.setFailed(jobNotFound(jobId), JobStatusDetailEnum::RUNTIME_ERROR);
        return error;
    };
    if (jobId.size() < 5) {
        return markNotFound();
    }

    // Completion and cancellation are watched before the list is asked for,
    // so that neither can slip in between.
    const auto outcome = std::make_shared<OncePromise<ErrorObject>>();
    auto future = outcome->getFuture();
    const auto handler = MarlekLinkEventHandler::makeJobDoneEventHandler([outcome, jobId](const JobInfo& done) {
        if (done.jobId == jobId) {
            outcome->offer(done.error);
        }
    });
    const auto onCancel = std::make_shared<PendingOperation>([outcome](CancellationReason reason) {
        outcome->offer(reason == CancellationReason::CANCELLED_BY_USER
                           ? ErrorFactory::makeError<ErrorCodeEnum::STOPPED_MANUALLY>()
                           : ErrorFactory::makeError<ErrorCodeEnum::CONNECTION_WAS_CLOSED>());
    });
    setEventHandler(handler);
    addPendingOperation(onCancel);
    const boost::scope::scope_exit stopWatching([&] {
        deletePendingOperation(onCancel);
        clearEventHandler(handler);
    });

    std::expected<std::vector<JobInfo>, ErrorObject> jobs;
    try {
        jobs = getJobInfoList(false);
    } catch (const std::exception& e) {
        return malformed(e);
    }
    if (!jobs) {
        return jobs.error();
    }
    for (const JobInfo& listed : *jobs) {
        if (listed.jobId != jobId) {
            continue;
        }
        if (listed.status == JobStatusEnum::PENDING || listed.status == JobStatusEnum::RUNNING) {
            return future.get();
        }
        // It ended before the wait began.
        return listed.error;
    }
    return markNotFound();
}
