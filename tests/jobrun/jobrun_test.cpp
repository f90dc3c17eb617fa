#include "jobrun_test_support.hpp"

#include "marlek_link_json/events/marleklinkeventhandler.hpp"
#include "marlek_link_json/jobs/common/jobinfo.hpp"

#include <atomic>
#include <future>

namespace {

using Mode = FakeReplyOverride::Mode;
using StartReply = FakeJobScript::StartReply;

const ErrorObject NO_ERROR{ErrorCodeEnum::NONE, "no error occoured"};

json::object jobListEntry(std::string_view jobId, std::string_view status, const ErrorObject& error)
{
    return json::object{{"job_id", jobId}, {"status", status}, {"error", json::value_from(error)}};
}

// What a refused start leaves in the job, however it was refused.
struct RefusedStartCase {
    const char* name;
    FakeReplyOverride override;
    ErrorCodeEnum code;
    std::string message;
};

class RefusedStart : public JobRunTest, public ::testing::WithParamInterface<RefusedStartCase> {};

TEST_P(RefusedStart, EndsTheJobAsNeverCreated)
{
    const auto& c = GetParam();
    router().setReplyOverride("/job/start", c.override);
    Inbox<DcSeen> seen;
    CvJob job(CvParameters{}, CvJob::Callbacks{recordInto(seen)});

    const auto started = std::chrono::steady_clock::now();
    const ErrorObject error = session->doJob(job);
    EXPECT_LT(std::chrono::steady_clock::now() - started, 3s);

    EXPECT_EQ(error.getErrorCodeEnum(), c.code);
    EXPECT_EQ(formatted(error), c.message);
    const JobInfo& info = job.getLastJobInfo();
    EXPECT_EQ(info.jobId, "void");
    EXPECT_EQ(info.status, JobStatusEnum::FAILED);
    EXPECT_EQ(info.statusDetail, JobStatusDetailEnum::FAILED_TO_CREATE);
    EXPECT_EQ(info.error, error);

    // The handlers went with the job's end.
    workstation.sendText(eventText(rowsEvent(json::array{json::array{1.0}})));
    flushIncoming();
    EXPECT_EQ(seen.size(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, RefusedStart,
    ::testing::Values(
        RefusedStartCase{"Failed",
                         {.mode = Mode::Failed,
                          .error = ErrorObject(ErrorCodeEnum::PARAMETER_VALUE_TOO_LOW, "{0} too low", "scan_rate")},
                         ErrorCodeEnum::PARAMETER_VALUE_TOO_LOW, "scan_rate too low"},
        RefusedStartCase{"WithoutStatus", {.mode = Mode::WithoutStatus}, ErrorCodeEnum::UNKNOWN_ERR,
                         "an unknown error occured"},
        RefusedStartCase{"FailedWithoutError",
                         {.mode = Mode::ExtraKeys, .extraKeys = {{"status", "FAILED"}}},
                         ErrorCodeEnum::UNKNOWN_ERR, "an unknown error occured"},
        RefusedStartCase{"FailedWithErrorOfWrongKind",
                         {.mode = Mode::ExtraKeys, .extraKeys = {{"status", "FAILED"}, {"error", "bad"}}},
                         ErrorCodeEnum::UNKNOWN_ERR, "an unknown error occured"},
        RefusedStartCase{"NoReply", {.mode = Mode::NoReply}, ErrorCodeEnum::OPERATION_TIMED_OUT,
                         "operation timed out"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(JobRunTest, StartReplyJobInfoReachesTheJobBeforeItsCompletion)
{
    router().setJobScript(FakeJobScript().event(cvHeaderEvent()).jobDone("FINISHED", "NONE", NO_ERROR));
    std::vector<JobInfo> duringRun;
    CvJob job(CvParameters{});
    // The live-data callbacks run on the worker thread, the same thread that
    // took in the start reply.
    job.addLivedataEventHandler([&](const DcLiveDataMessage&) { duringRun.push_back(job.getLastJobInfo()); });

    EXPECT_EQ(session->doJob(job), NO_ERROR);
    ASSERT_EQ(duringRun.size(), 1u);
    EXPECT_EQ(duringRun[0].jobId, "job-0001");
    EXPECT_EQ(duringRun[0].status, JobStatusEnum::PENDING);
    EXPECT_EQ(job.getLastJobInfo().jobId, "job-0001");
    EXPECT_EQ(job.getLastJobInfo().status, JobStatusEnum::FINISHED);
    EXPECT_TRUE(job.wasSuccessful());
}

TEST_F(JobRunTest, JobDoneBeforeTheStartReplyCompletesTheJob)
{
    // The start reply comes half a second late, after the JOB_DONE that the
    // test pushes with the start's request id.
    router().setReplyOverride("/job/start", {.mode = Mode::Delayed, .delay = 500ms});
    session->setRequestTimeout(3s);
    CvJob job(CvParameters{});
    auto result = std::async(std::launch::async, [&] { return session->doJob(job); });
    ASSERT_TRUE(waitForRequests("/job/start", 1));
    const auto requestId = onlyStartRequest().at("request_id");
    workstation.sendText(json::serialize(json::object{
        {"type", "JOB_DONE"},
        {"request_id", requestId},
        {"job_info", jobListEntry("job-0009", "FINISHED", NO_ERROR)},
    }));
    ASSERT_EQ(result.wait_for(400ms), std::future_status::ready);
    EXPECT_EQ(result.get(), NO_ERROR);
    EXPECT_EQ(job.getLastJobInfo().jobId, "job-0009");
    // The late SUCCESS finds nothing pending and changes nothing.
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(job.getLastJobInfo().status, JobStatusEnum::FINISHED);
}

TEST_F(JobRunTest, DroppedConnectionEndsARunningJobWithConnectionLoss)
{
    Inbox<DcSeen> seen;
    router().setJobScript(FakeJobScript()
                              .event(cvHeaderEvent())
                              .event(rowsEvent(json::array{json::array{0.0, 0.1, 0.2}}))
                              .sleep(50ms)
                              .drop());
    CvJob job(CvParameters{}, CvJob::Callbacks{recordInto(seen)});

    const auto started = std::chrono::steady_clock::now();
    const ErrorObject error = session->doJob(job);
    EXPECT_LT(std::chrono::steady_clock::now() - started, 3s);

    EXPECT_EQ(error.getErrorCodeEnum(), ErrorCodeEnum::CONNECTION_WAS_CLOSED);
    EXPECT_EQ(formatted(error), "network connection closed by remote peer");
    EXPECT_EQ(job.getLastJobInfo().jobId, "job-0001");
    EXPECT_EQ(job.getLastJobInfo().status, JobStatusEnum::FAILED);
    EXPECT_EQ(job.getLastJobInfo().statusDetail, JobStatusDetailEnum::CONNECTION_LOSS);
    EXPECT_EQ(seen.size(), 2u);
}

TEST_F(JobRunTest, ClosedConnectionBeforeTheStartReplyFailsTheStart)
{
    router().setJobScript(FakeJobScript().replyToStart(StartReply::None).sleep(50ms).close(1000));
    session->setRequestTimeout(3s);
    CvJob job(CvParameters{});

    const ErrorObject error = session->doJob(job);

    EXPECT_EQ(error.getErrorCodeEnum(), ErrorCodeEnum::CONNECTION_WAS_CLOSED);
    EXPECT_EQ(job.getLastJobInfo().statusDetail, JobStatusDetailEnum::FAILED_TO_CREATE);
    EXPECT_EQ(job.getLastJobInfo().jobId, "void");
}

// Cancellation while the job runs, and while its start is unanswered.
struct CancelCase {
    const char* name;
    FakeJobScript script;
    JobStatusDetailEnum detail;
    std::string jobId;
};

class CancelledJob : public JobRunTest, public ::testing::WithParamInterface<CancelCase> {};

TEST_P(CancelledJob, EndsStoppedByTheUser)
{
    const auto& c = GetParam();
    router().setJobScript(c.script);
    session->setRequestTimeout(10s);
    CvJob job(CvParameters{});
    auto result = std::async(std::launch::async, [&] { return session->doJob(job); });
    ASSERT_TRUE(waitForRequests("/job/start", 1));
    std::this_thread::sleep_for(100ms);
    ASSERT_EQ(result.wait_for(0ms), std::future_status::timeout);

    session->cancelPendingOperations();

    ASSERT_EQ(result.wait_for(kWait), std::future_status::ready);
    const ErrorObject error = result.get();
    EXPECT_EQ(error.getErrorCodeEnum(), ErrorCodeEnum::STOPPED_MANUALLY);
    EXPECT_EQ(formatted(error), "manually stopped");
    EXPECT_EQ(job.getLastJobInfo().statusDetail, c.detail);
    EXPECT_EQ(job.getLastJobInfo().jobId, c.jobId);
}

INSTANTIATE_TEST_SUITE_P(
    Moments, CancelledJob,
    ::testing::Values(CancelCase{"Running",
                                 FakeJobScript().event(statusEvent("RUNNING")).sleep(20s).jobDone("FINISHED", "NONE",
                                                                                                  NO_ERROR),
                                 JobStatusDetailEnum::STOPPED_BY_USER, "job-0001"},
                      CancelCase{"BeforeTheStartReply", FakeJobScript().replyToStart(StartReply::None),
                                 JobStatusDetailEnum::FAILED_TO_CREATE, "void"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(JobRunTest, UnreadableCompletionFailsTheJobAndRemovesItsHandlers)
{
    Inbox<DcSeen> seen;
    router().setJobScript(FakeJobScript().jobDoneWithInfo(
        json::object{{"status", "FINISHED"}, {"job_meta", json::object{{"sample", 5}}}}));
    auto job = std::make_unique<CvJob>(CvParameters{}, CvJob::Callbacks{recordInto(seen)});

    const ErrorObject error = session->doJob(*job);

    EXPECT_EQ(error.getErrorCodeEnum(), ErrorCodeEnum::JSON_MALFORMED);
    EXPECT_TRUE(formatted(error).starts_with("json malformed: ")) << formatted(error);
    EXPECT_GT(formatted(error).size(), std::string("json malformed: ").size());
    EXPECT_EQ(job->getLastJobInfo().status, JobStatusEnum::FAILED);
    EXPECT_EQ(job->getLastJobInfo().statusDetail, JobStatusDetailEnum::RUNTIME_ERROR);

    // Its handlers are gone although the job still lives, and the session
    // runs the next job as usual.
    workstation.sendText(eventText(rowsEvent(json::array{json::array{1.0}})));
    flushIncoming();
    EXPECT_EQ(seen.size(), 0u);
    job.reset();
    router().setJobScript(FakeJobScript().jobDone("FINISHED", "NONE", NO_ERROR));
    CvJob next(CvParameters{});
    EXPECT_EQ(session->doJob(next), NO_ERROR);
    EXPECT_EQ(next.getLastJobInfo().jobId, "job-0002");
    EXPECT_EQ(seen.size(), 0u);
}

TEST_F(JobRunTest, DoJobAsyncHandsTheCompletionToTheCallbackOnly)
{
    router().setJobScript(FakeJobScript()
                              .event(cvHeaderEvent())
                              .event(rowsEvent(json::array{json::array{1.0, 2.0, 3.0}}))
                              .jobDone("FINISHED", "NONE", NO_ERROR));
    Inbox<DcSeen> seen;
    CvJob job(CvParameters{}, CvJob::Callbacks{recordInto(seen)}, CvJob::MetaData{{"sample", "A1"}});
    Inbox<json::object> completions;

    session->doJobAsync(job, [&completions](const json::object& completion) { completions.push(completion); });

    ASSERT_TRUE(completions.waitForCount(1));
    const auto completion = completions.snapshot().front();
    EXPECT_EQ(completion.at("job_info").at("job_id"), "job-0001");
    EXPECT_EQ(completion.at("job_info").at("status"), "FINISHED");
    EXPECT_EQ(seen.size(), 0u);
    // Whatever the job's metadata, the asynchronous start sends none.
    EXPECT_EQ(onlyStartRequest().at("job").at("job_meta"), json::object());
    // Only the start reply's snapshot reached the job.
    EXPECT_EQ(job.getLastJobInfo().status, JobStatusEnum::PENDING);
}

TEST_F(JobRunTest, DestroyingAJobWaitsForItsRunningCallbackAndStopsTheNextOnes)
{
    std::promise<void> entered;
    std::atomic<bool> left{false};
    std::atomic<int> calls{0};
    auto job = std::make_unique<CvJob>(CvParameters{}, CvJob::Callbacks{[&](const DcLiveDataMessage&) {
                                           if (calls++ == 0) {
                                               entered.set_value();
                                               std::this_thread::sleep_for(200ms);
                                               left = true;
                                           }
                                       }});
    // Registered as by a caller that never removes them.
    job->setEventHandlers(*session);
    workstation.sendText(eventText(rowsEvent(json::array{json::array{1.0}})));
    ASSERT_EQ(entered.get_future().wait_for(kWait), std::future_status::ready);

    job.reset();
    EXPECT_TRUE(left);

    workstation.sendText(eventText(rowsEvent(json::array{json::array{2.0}})));
    flushIncoming();
    EXPECT_EQ(calls, 1);
}

// waitForJobToFinish on jobs the client knows only by id.
class WaitForJob : public JobRunTest {
protected:
    // A job whose last job information names jobId, as after a job list.
    static std::unique_ptr<CvJob> knownAs(std::string_view jobId)
    {
        auto job = std::make_unique<CvJob>(CvParameters{});
        JobInfo info;
        info.jobId = jobId;
        info.status = JobStatusEnum::RUNNING;
        job->setLastJobInfo(info);
        return job;
    }

    void listJobs(json::array jobs)
    {
        router().setReplyOverride("/job/list", {.mode = Mode::ExtraKeys, .extraKeys = {{"jobs", std::move(jobs)}}});
    }

    static std::string foreignJobDone(std::string_view jobId, const ErrorObject& error)
    {
        return json::serialize(json::object{
            {"type", "JOB_DONE"},
            {"request_id", "other-client"},
            {"job_info", jobListEntry(jobId, "FAILED", error)},
        });
    }
};

TEST_F(WaitForJob, ShortOrMissingIdIsNotFoundAndFailsTheJob)
{
    const auto expectNotFound = [](const ErrorObject& error, const CvJob& job, std::string_view id) {
        EXPECT_EQ(error.getErrorCodeEnum(), ErrorCodeEnum::ID_NOT_FOUND);
        EXPECT_EQ(formatted(error), "could not find job with job_id '" + std::string(id) + "'");
        EXPECT_EQ(job.getLastJobInfo().status, JobStatusEnum::FAILED);
        EXPECT_EQ(job.getLastJobInfo().statusDetail, JobStatusDetailEnum::RUNTIME_ERROR);
        EXPECT_EQ(job.getLastJobInfo().error, error);
    };
    CvJob neverStarted(CvParameters{});
    expectNotFound(session->waitForJobToFinish(neverStarted), neverStarted, "");
    EXPECT_TRUE(router().requests("/job/list").empty());

    listJobs(json::array{jobListEntry("job-0002", "RUNNING", NO_ERROR)});
    const auto unknown = knownAs("job-0001");
    expectNotFound(session->waitForJobToFinish(*unknown), *unknown, "job-0001");
    ASSERT_EQ(router().requests("/job/list").size(), 1u);
    EXPECT_EQ(router().requests("/job/list").front().at("exclude_finished"), false);
}

TEST_F(WaitForJob, JobThatAlreadyEndedGivesItsListedError)
{
    const ErrorObject limit(ErrorCodeEnum::STOP_CONDITION_TRIGGERED, "stop condition triggered");
    listJobs(json::array{jobListEntry("job-0001", "FINISHED", limit)});
    const auto job = knownAs("job-0001");
    EXPECT_EQ(session->waitForJobToFinish(*job), limit);
    // The wait reports; it does not rewrite the job.
    EXPECT_EQ(job->getLastJobInfo().status, JobStatusEnum::RUNNING);
}

TEST_F(WaitForJob, FailedListRequestGivesItsError)
{
    router().setReplyOverride("/job/list",
                              {.mode = Mode::Failed, .error = ErrorObject(ErrorCodeEnum::UNKNOWN_ERR, "busy")});
    const auto job = knownAs("job-0001");
    EXPECT_EQ(formatted(session->waitForJobToFinish(*job)), "busy");
}

TEST_F(WaitForJob, RunningJobEndsWithTheFirstMatchingCompletion)
{
    listJobs(json::array{jobListEntry("job-0001", "RUNNING", NO_ERROR)});
    const auto job = knownAs("job-0001");
    auto result = std::async(std::launch::async, [&] { return session->waitForJobToFinish(*job); });
    ASSERT_TRUE(waitForRequests("/job/list", 1));

    const ErrorObject first(ErrorCodeEnum::UNKNOWN_ERR, "first");
    workstation.sendText(foreignJobDone("job-0002", ErrorObject(ErrorCodeEnum::UNKNOWN_ERR, "other job")));
    workstation.sendText(foreignJobDone("job-0001", first));
    // Arrive while the first is being taken in: they must change nothing.
    workstation.sendText(foreignJobDone("job-0001", ErrorObject(ErrorCodeEnum::UNKNOWN_ERR, "second")));

    ASSERT_EQ(result.wait_for(kWait), std::future_status::ready);
    EXPECT_EQ(result.get(), first);
    flushIncoming();
}

TEST_F(WaitForJob, CancellationEndsTheWaitAndALaterCompletionIsIgnored)
{
    listJobs(json::array{jobListEntry("job-0001", "PENDING", NO_ERROR)});
    const auto job = knownAs("job-0001");
    auto result = std::async(std::launch::async, [&] { return session->waitForJobToFinish(*job); });
    ASSERT_TRUE(waitForRequests("/job/list", 1));
    std::this_thread::sleep_for(100ms);

    session->cancelPendingOperations();
    workstation.sendText(foreignJobDone("job-0001", ErrorObject(ErrorCodeEnum::UNKNOWN_ERR, "late")));

    ASSERT_EQ(result.wait_for(kWait), std::future_status::ready);
    const ErrorObject error = result.get();
    EXPECT_EQ(error.getErrorCodeEnum(), ErrorCodeEnum::STOPPED_MANUALLY);
    EXPECT_EQ(formatted(error), "manually stopped");
    flushIncoming();
}

} // namespace
