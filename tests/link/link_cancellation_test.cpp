#include "link_test_support.hpp"

#include "support/temporary_folder.hpp"

#include "fake_workstation/fake_job_script.hpp"
#include "marlek_json_common/json_common/protocol/livedataheader_json.hpp"

#include <filesystem>
#include <fstream>
#include <functional>
#include <future>

using Mode = FakeReplyOverride::Mode;

namespace {

// Far beyond every wait of these tests: only a cancellation can end a call.
constexpr auto kNeverTimesOut = 10min;
// What a cancelled call may take on a loaded machine.
constexpr auto kCancelled = 20s;
constexpr auto kWait = 5s;

const ErrorObject kStoppedManually(ErrorCodeEnum::STOPPED_MANUALLY, "manually stopped");
const Resource kWave = Resource::fromId(ResourceTypeEnum::WAVE, "res-1");

void silence(FakeWorkstation& workstation, const std::string& command)
{
    workstation.router().setReplyOverride(command, {.mode = Mode::NoReply});
}

boost::json::object cvHeaderEvent()
{
    const LiveDataHeader header("Cyclic Voltammetry", "CV", {ColumnHeader("time", "s")});
    return {{"type", "LIVE_DATA_HEADER"},
            {"header", boost::json::value_from(header)},
            {"job_info", {{"status", "RUNNING"}}}};
}

template <typename T>
ErrorObject errorOf(const std::expected<T, ErrorObject>& result)
{
    return result ? ErrorObject() : result.error();
}

// One call of the link that waits for the workstation, and how to make the
// workstation keep it waiting.
struct BlockingCall {
    const char* name;
    // Silences the workstation where the call must wait.
    std::function<void(FakeWorkstation&)> arrange;
    // The command the call waits on once the workstation has it; without
    // one, the call itself says when it waits.
    std::string waitsOn;
    std::function<ErrorObject(MarlekLink&, const std::function<void()>& nowWaiting)> call;
};

void PrintTo(const BlockingCall& call, std::ostream* out)
{
    *out << call.name;
}

BlockingCall silent(const char* name, const std::string& command,
                    std::function<ErrorObject(MarlekLink&)> call)
{
    return {name, [command](FakeWorkstation& workstation) { silence(workstation, command); }, command,
            [call = std::move(call)](MarlekLink& link, const std::function<void()>&) { return call(link); }};
}

std::vector<BlockingCall> blockingCalls()
{
    return {
        silent("getWorkstationInfo", "/id", [](MarlekLink& link) { return errorOf(link.getWorkstationInfo()); }),
        silent("getWorkstationStatus", "/status",
               [](MarlekLink& link) { return errorOf(link.getWorkstationStatus()); }),
        silent("getSettings", "/settings/get", [](MarlekLink& link) { return errorOf(link.getSettings()); }),
        silent("updateSettings", "/settings/set",
               [](MarlekLink& link) {
                   SettingsSet settings({{"beep", Setting(true)}});
                   link.updateSettings(settings);
                   return settings["beep"].getUpdateFailureReason();
               }),
        silent("checkJobParameters", "/job/check_parameters",
               [](MarlekLink& link) {
                   CvJob job(CvParameters{});
                   return link.checkJobParameters(job);
               }),
        silent("getJobInfoList", "/job/list", [](MarlekLink& link) { return errorOf(link.getJobInfoList(false)); }),
        silent("getJobInfo", "/job/info",
               [](MarlekLink& link) {
                   CvJob job = jobThatRan("job-0001");
                   return errorOf(link.getJobInfo(job));
               }),
        silent("getOwnConnectionInfo", "/connection/id",
               [](MarlekLink& link) { return errorOf(link.getOwnConnectionInfo()); }),
        silent("getWorkstationConnectionList", "/connection/list",
               [](MarlekLink& link) { return errorOf(link.getWorkstationConnectionList()); }),
        silent("dropWorkstationConnection", "/connection/drop",
               [](MarlekLink& link) { return link.dropWorkstationConnection(WebsocketConnectionInfo{}); }),
        silent("doJobUnanswered", "/job/start",
               [](MarlekLink& link) {
                   CvJob job(CvParameters{});
                   return link.doJob(job);
               }),
        {"doJobRunning",
         [](FakeWorkstation& workstation) {
             workstation.router().setJobScript(FakeJobScript().event(cvHeaderEvent()).sleep(kNeverTimesOut));
         },
         "",
         [](MarlekLink& link, const std::function<void()>& nowWaiting) {
             CvJob job(CvParameters{}, CvJob::Callbacks{[nowWaiting](const DcLiveDataMessage& message) {
                           if (message.kind == DcLiveDataMessageKind::HEADER) {
                               nowWaiting();
                           }
                       }});
             return link.doJob(job);
         }},
        silent("waitForJobToFinishUnlisted", "/job/list",
               [](MarlekLink& link) {
                   CvJob job = jobThatRan("job-0001");
                   return link.waitForJobToFinish(job);
               }),
        {"waitForJobToFinishRunning",
         [](FakeWorkstation& workstation) {
             workstation.router().queries().setJobs(
                 boost::json::array{{{"job_id", "job-0001"}, {"status", "RUNNING"}}});
         },
         "/job/list",
         [](MarlekLink& link, const std::function<void()>&) {
             CvJob job = jobThatRan("job-0001");
             return link.waitForJobToFinish(job);
         }},
        silent("getJobResultData", "/JOB_RESULT/list",
               [](MarlekLink& link) {
                   CvJob job = jobThatRan("job-0001");
                   return errorOf(link.getJobResultData(job));
               }),
        {"getJobResultDataWithoutContent",
         [](FakeWorkstation& workstation) {
             const LiveDataHeader header("Cyclic Voltammetry", "CV", {ColumnHeader("time", "s")});
             workstation.router().addResource(
                 resultDescription("job-0001", ResourceSubType::DATASET_DC,
                                   resultHeader(finishedJobInfo("job-0001"), boost::json::value_from(header))),
                 littleEndian({1.0}));
             workstation.router().setDownloadKnobs({.omitBinary = true});
         },
         "/JOB_RESULT/download",
         [](MarlekLink& link, const std::function<void()>&) {
             CvJob job = jobThatRan("job-0001");
             return errorOf(link.getJobResultData(job));
         }},
        silent("createResource", "/WAVE/create",
               [](MarlekLink& link) {
                   // Any failure comes back as an invalid handle.
                   const auto created = link.createResource(ResourceTypeEnum::WAVE, "w");
                   return created && !created->isValid() ? kStoppedManually : errorOf(created);
               }),
        silent("appendToResource", "/WAVE/append",
               [](MarlekLink& link) { return link.appendToResource(kWave, {'a'}); }),
        silent("retrieveResource", "/WAVE/get",
               [](MarlekLink& link) {
                   std::vector<char> output;
                   return link.retrieveResource(kWave, output, 0, 0);
               }),
        silent("retrieveFullResourceUnanswered", "/WAVE/download",
               [](MarlekLink& link) {
                   Resource resource = kWave;
                   std::string output;
                   return link.retrieveFullResource(resource, output, 0);
               }),
        {"retrieveFullResourceWithoutContent",
         [](FakeWorkstation& workstation) { workstation.router().setDownloadKnobs({.omitBinary = true}); },
         "/WAVE/download",
         [](MarlekLink& link, const std::function<void()>&) {
             Resource resource = kWave;
             std::string output;
             return link.retrieveFullResource(resource, output, 0);
         }},
        silent("downloadResourceToFileRefreshing", "/WAVE/info",
               [](MarlekLink& link) {
                   const TemporaryFolder folder;
                   return link.downloadResourceToFile(kWave, folder / "wave");
               }),
        silent("downloadResourceToFileReading", "/WAVE/get",
               [](MarlekLink& link) {
                   const TemporaryFolder folder;
                   return link.downloadResourceToFile(kWave, folder / "wave");
               }),
        silent("deleteResource", "/WAVE/delete", [](MarlekLink& link) { return link.deleteResource(kWave); }),
        silent("getAvailableResources", "/WAVE/list",
               [](MarlekLink& link) { return errorOf(link.getAvailableResources(ResourceTypeEnum::WAVE)); }),
        silent("getUpdatedResourceInfo", "/WAVE/info",
               [](MarlekLink& link) {
                   Resource resource = kWave;
                   return link.getUpdatedResourceInfo(resource);
               }),
    };
}

class CancelledCall : public ::testing::TestWithParam<BlockingCall> {
protected:
    void SetUp() override
    {
        link = std::make_unique<MarlekLink>("127.0.0.1", workstation.port());
        link->setRequestTimeout(kNeverTimesOut);
        ASSERT_EQ(link->connect(), ErrorObject());
        workstation.router().addResource(ResourceTypeEnum::WAVE, "w", "wave content");
    }

    ShortHeartbeat heartbeat;
    FakeWorkstation workstation;
    std::unique_ptr<MarlekLink> link;
};

} // namespace

// Each call ends with the cancellation, whatever it waits for, and the link
// goes on serving.
TEST_P(CancelledCall, EndsWithTheCancellationAndTheLinkStaysUsable)
{
    const BlockingCall& blocking = GetParam();
    blocking.arrange(workstation);
    const auto waiting = std::make_shared<std::promise<void>>();
    const auto nowWaiting = [waiting] { waiting->set_value(); };
    auto outcome = std::async(std::launch::async, [&] { return blocking.call(*link, nowWaiting); });

    if (blocking.waitsOn.empty()) {
        ASSERT_EQ(waiting->get_future().wait_for(kWait), std::future_status::ready);
    } else {
        ASSERT_TRUE(askedFor(workstation, blocking.waitsOn));
    }
    link->cancelPendingOperations();
    if (outcome.wait_for(kCancelled) != std::future_status::ready) {
        ADD_FAILURE() << "the call goes on waiting after the cancellation";
        // Lets the call end, so that the test can.
        link->disconnect();
    }
    EXPECT_EQ(outcome.get(), kStoppedManually);

    workstation.router().clearReplyOverrides();
    EXPECT_TRUE(link->isConnected());
    EXPECT_TRUE(link->getWorkstationStatus().has_value());
}

INSTANTIATE_TEST_SUITE_P(Link, CancelledCall, ::testing::ValuesIn(blockingCalls()),
                         [](const auto& info) { return std::string(info.param.name); });

// Cancelled mid-upload, the partly filled resource still goes, without the
// caller waiting for that.
TEST(CancelledUpload, DeletesThePartResourceWithoutWaiting)
{
    ShortHeartbeat heartbeat;
    FakeWorkstation workstation;
    MarlekLink link("127.0.0.1", workstation.port());
    link.setRequestTimeout(kNeverTimesOut);
    ASSERT_EQ(link.connect(), ErrorObject());
    silence(workstation, "/WAVE/append");
    silence(workstation, "/WAVE/delete");
    const TemporaryFolder folder;
    const auto file = folder / "upload";
    std::ofstream(file) << "content";

    auto upload = std::async(std::launch::async,
                             [&] { return link.createResourceFromFile(ResourceTypeEnum::WAVE, file, "w"); });
    ASSERT_TRUE(askedFor(workstation, "/WAVE/append"));
    link.cancelPendingOperations();
    ASSERT_EQ(upload.wait_for(kCancelled), std::future_status::ready);
    const auto uploaded = upload.get();
    ASSERT_FALSE(uploaded);
    EXPECT_EQ(uploaded.error(), kStoppedManually);
    EXPECT_TRUE(askedFor(workstation, "/WAVE/delete"));
}

// A workstation that takes the TCP connection and never answers the upgrade
// would hold connect for the whole upgrade limit.
TEST(CancelledConnect, EndsAtOnceAndTheLinkConnectsLater)
{
    const TimingOverride upgradeNeverEnds(5s, kNeverTimesOut);
    FakeWorkstationOptions options;
    options.acceptWithoutAnswer = true;
    FakeWorkstation silentPeer(options);
    FakeWorkstation answering;

    MarlekLink link("127.0.0.1", silentPeer.port());
    auto connecting = std::async(std::launch::async, [&] { return link.connect(); });
    ASSERT_TRUE(silentPeer.waitForAcceptedConnections(1, kWait));
    link.cancelPendingOperations();
    if (connecting.wait_for(kCancelled) != std::future_status::ready) {
        ADD_FAILURE() << "connect goes on waiting after the cancellation";
        link.disconnect();
    }
    EXPECT_EQ(connecting.get(), kStoppedManually);
    EXPECT_FALSE(link.isConnected());
    EXPECT_EQ(link.getWorkstationStatus().error(), kNotConnected);

    link.setDestinationHost("127.0.0.1", answering.port());
    ASSERT_EQ(link.connect(), ErrorObject());
    EXPECT_TRUE(link.getWorkstationStatus().has_value());
}
