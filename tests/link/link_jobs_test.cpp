#include "link_test_support.hpp"

#include "fake_workstation/fake_job_script.hpp"
#include "marlek_json_common/json_common/protocol/livedataheader_json.hpp"
#include "marlek_link/marlek_link_exc.hpp"
#include "marlek_link_json/jobs/dc/dataset/dc_dataset.hpp"

#include <future>
#include <mutex>

namespace {

const LiveDataHeader kCvHeader("Cyclic Voltammetry", "CV",
                               {ColumnHeader("time", "s"), ColumnHeader("voltage", "V"), ColumnHeader("current", "A")});

boost::json::object headerEvent()
{
    return {{"type", "LIVE_DATA_HEADER"},
            {"header", boost::json::value_from(kCvHeader)},
            {"job_info", {{"status", "RUNNING"}}}};
}

boost::json::object rowsEvent(const std::vector<std::vector<double>>& rows)
{
    return {{"type", "LIVE_DATA_ROWS"}, {"data", boost::json::value_from(rows)}};
}

// A job that runs until the test ends it.
FakeJobScript longRun()
{
    return FakeJobScript().event(headerEvent()).sleep(10s).jobDone("FINISHED", "RUN_TO_COMPLETION", ErrorObject());
}

} // namespace

TEST(LinkJobsWithoutSession, DoJobFailsTheJobAndWaitingAnswersNotConnected)
{
    MarlekLink link("127.0.0.1", "1");
    CvJob job(CvParameters{});
    EXPECT_EQ(link.doJob(job), kNotConnected);
    EXPECT_EQ(job.getLastJobInfo().statusDetail, JobStatusDetailEnum::NOT_CONNECTED);
    EXPECT_EQ(job.getLastJobInfo().error, kNotConnected);
    CvJob waited = jobThatRan("job-0001");
    EXPECT_EQ(link.waitForJobToFinish(waited), kNotConnected);

    MarlekLinkExc throwing("127.0.0.1", "1");
    CvJob thrown(CvParameters{});
    try {
        throwing.doJob(thrown);
        ADD_FAILURE() << "doJob did not throw";
    } catch (const MarlekLinkException& e) {
        EXPECT_EQ(e.getError(), kNotConnected);
    }
    EXPECT_EQ(thrown.getLastJobInfo().statusDetail, JobStatusDetailEnum::NOT_CONNECTED);
}

using LinkJobs = ConnectedLinkTest<>;

TEST_F(LinkJobs, CvJobRunsWithLiveRowsAndItsResultComesBack)
{
    const std::vector<std::vector<double>> rows = {{0.0, 0.0, 1e-6}, {0.5, 0.05, 2e-6}, {1.0, 0.1, -3e-6}};
    router().setJobScript(FakeJobScript()
                              .event(headerEvent())
                              .event(rowsEvent({rows[0], rows[1]}))
                              .event(rowsEvent({rows[2]}))
                              .event({{"type", "LIVE_DATA_FINISHED"}, {"job_info", {{"status", "RUNNING"}}}})
                              .jobDone("FINISHED", "RUN_TO_COMPLETION", ErrorObject()));
    std::string table;
    for (std::size_t column = 0; column < 3; ++column) {
        for (const auto& row : rows) {
            table += littleEndian({row[column]});
        }
    }
    const auto header = resultHeader(finishedJobInfo("job-0001"), boost::json::value_from(kCvHeader));
    router().addResource(resultDescription("job-0001", ResourceSubType::DATASET_DC, header), table);

    std::vector<std::vector<double>> live;
    CvJob job(CvParameters{}, CvJob::Callbacks{[&live](const DcLiveDataMessage& message) {
                  if (message.kind == DcLiveDataMessageKind::ROWS) {
                      live.insert(live.end(), message.rows->begin(), message.rows->end());
                  }
              }});
    ASSERT_EQ(link->doJob(job), ErrorObject());
    EXPECT_EQ(live, rows);
    EXPECT_EQ(job.getLastJobInfo().jobId, "job-0001");

    const auto result = link->getJobResultData(job);
    ASSERT_TRUE(result) << formatted(result.error());
    const auto dataset = std::dynamic_pointer_cast<DcDataset>(*result);
    ASSERT_TRUE(dataset);
    EXPECT_EQ(dataset->getDcTrack("current"), (std::vector<double>{1e-6, 2e-6, -3e-6}));
    EXPECT_EQ(dataset->getRowCount(), 3u);
}

// A live-data callback runs on the connection's thread while doJob blocks
// the caller's: disconnecting there ends the run instead of hanging both.
TEST_F(LinkJobs, LiveDataCallbackMayDisconnectWhileDoJobWaits)
{
    router().setJobScript(longRun());
    std::once_flag once;
    CvJob job(CvParameters{}, CvJob::Callbacks{[this, &once](const DcLiveDataMessage&) {
                  std::call_once(once, [this] { link->disconnect(); });
              }});
    auto run = std::async(std::launch::async, [&] { return link->doJob(job); });
    ASSERT_EQ(run.wait_for(5s), std::future_status::ready);
    EXPECT_EQ(codeOf(run.get()), ErrorCodeEnum::CONNECTION_WAS_CLOSED);
    EXPECT_EQ(job.getLastJobInfo().statusDetail, JobStatusDetailEnum::CONNECTION_LOSS);
    EXPECT_FALSE(link->isConnected());
    EXPECT_TRUE(workstation.waitForConnectionEnd(5s));
}

using ExcLinkJobs = ConnectedLinkTest<MarlekLinkExc>;

TEST_F(ExcLinkJobs, StopEndingsReturnUnlessEnabledOtherFailuresThrow)
{
    const ErrorObject stopped(ErrorCodeEnum::STOP_CONDITION_TRIGGERED, "stop condition {0} triggered", "min");
    router().setJobScript(FakeJobScript().jobDone("FAILED", "FUNCTIONAL_LIMIT_OCCURRED", stopped));
    CvJob job(CvParameters{});
    ErrorObject returned;
    ASSERT_NO_THROW(returned = link->doJob(job));
    EXPECT_EQ(returned, stopped);

    link->enableDoJobException(ErrorCodeEnum::STOP_CONDITION_TRIGGERED);
    try {
        link->doJob(job);
        ADD_FAILURE() << "doJob did not throw";
    } catch (const MarlekLinkException& e) {
        EXPECT_EQ(e.getError(), stopped);
        EXPECT_STREQ(e.what(), "stop condition min triggered");
    }

    const ErrorObject broken(ErrorCodeEnum::POTENTIOSTAT_SWITCH_ON_ISSUE, "potentiostat could not be switched on");
    router().setJobScript(FakeJobScript().jobDone("FAILED", "RUNTIME_ERROR", broken));
    EXPECT_THROW(link->doJob(job), MarlekLinkException);
}

TEST_F(ExcLinkJobs, ManualStopReturnsUnlessEnabled)
{
    router().setJobScript(longRun());
    // Stops the job once it runs, that is once its live data have begun.
    const auto stopRun = [this]() {
        auto running = std::make_shared<std::promise<void>>();
        const auto onHeader = [running](const DcLiveDataMessage& message) {
            if (message.kind == DcLiveDataMessageKind::HEADER) {
                running->set_value();
            }
        };
        auto job = std::make_shared<CvJob>(CvParameters{}, CvJob::Callbacks{onHeader});
        auto run = std::async(std::launch::async, [this, job] { return link->doJob(*job); });
        EXPECT_EQ(running->get_future().wait_for(5s), std::future_status::ready);
        link->cancelPendingOperations();
        EXPECT_EQ(run.wait_for(5s), std::future_status::ready);
        return std::make_pair(job, std::move(run));
    };

    auto [job, stopped] = stopRun();
    const ErrorObject manually = stopped.get();
    EXPECT_EQ(manually, ErrorObject(ErrorCodeEnum::STOPPED_MANUALLY, "manually stopped"));
    EXPECT_EQ(job->getLastJobInfo().statusDetail, JobStatusDetailEnum::STOPPED_BY_USER);

    link->enableDoJobException(ErrorCodeEnum::STOPPED_MANUALLY);
    auto [again, thrown] = stopRun();
    EXPECT_THROW(thrown.get(), MarlekLinkException);
}
