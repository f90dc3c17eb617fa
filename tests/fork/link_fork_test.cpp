// A child made by fork has only the thread that forked: the threads of the
// parent's links, and any lock they held at that moment, stay behind. What
// the child inherited must never wait for them.
//
// Each child reports through its exit code (0 when every check held, else
// the number of the check that failed); an alarm ends a child that hangs.
// The child ends through exit, so that the program's exit-time destructors
// run there as they would at the end of a script.

#include "link/link_operations.hpp"
#include "link/link_test_support.hpp"
#include "support/timing_override.hpp"

#include "fake_workstation/fake_job_script.hpp"
#include "fake_workstation/udp_responder.hpp"
#include "marlek_json_common/json_common/protocol/livedataheader_json.hpp"
#include "marlek_link_json/auto_discovery.hpp"
#include "marlek_link_json/events/marleklinkeventhandler.hpp"
#include "marlek_link_json/link_json_session.hpp"
#include "marlek_link_json/link_ll_session_flags.hpp"

#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <functional>
#include <future>

namespace {

constexpr unsigned kChildSecondsAtMost = 60;
constexpr auto kWait = 5s;
constexpr int kKilledByAlarm = 128 + SIGALRM;

// The exit code of body, run in a child made by fork; 128 and the signal for
// a child ended by one.
int exitCodeOfChild(const std::function<int()>& body)
{
    const pid_t child = fork();
    if (child == 0) {
        alarm(kChildSecondsAtMost);
        int code = 1;
        try {
            code = body();
        } catch (...) {
            code = 2;
        }
        std::exit(code);
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child) {
        return -1;
    }
    if (WIFSIGNALED(status)) {
        return 128 + WTERMSIG(status);
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Every call of a link inherited from the parent: each answers as without a
// session, none waits. The numbers are the child's exit codes.
int checkInheritedLink(MarlekLink& inherited)
{
    const auto operations = sessionOperations();
    for (std::size_t index = 0; index < operations.size(); ++index) {
        if (operations[index].call(inherited) != std::optional(kNotConnected)) {
            return 100 + static_cast<int>(index);
        }
    }
    if (inherited.connect() != kNotConnected) {
        return 10;
    }
    if (inherited.isConnected() || inherited.getConnectionStatus() != MarlekLinkConnectionStatusEnum::DISCONNECTED) {
        return 11;
    }
    CvJob job(CvParameters{});
    if (inherited.doJob(job) != kNotConnected || job.getLastJobInfo().statusDetail != JobStatusDetailEnum::NOT_CONNECTED) {
        return 12;
    }
    SettingsSet settings({{"beep", Setting(true)}});
    inherited.updateSettings(settings);
    if (settings["beep"].successfullyUpdated() || settings["beep"].getUpdateFailureReason() != kNotConnected) {
        return 13;
    }
    if (inherited.id(1s).error() != kNotConnected) {
        return 14;
    }
    const auto handler = MarlekLinkEventHandler::makeJobDoneEventHandler([](const JobInfo&) {});
    inherited.setEventHandler(handler);
    inherited.clearEventHandler(handler);
    inherited.setConnectionStatusCallback([](MarlekLinkConnectionStatusEnum) {});
    inherited.setConnectionStatusCallback({});
    inherited.setRequestTimeout(1s);
    inherited.setConnectionTimeout(1s);
    inherited.setDestinationHost("127.0.0.1", "1");
    inherited.setHttpAuthenticationInfo("user", "password");
    inherited.setFlag(MarlekLinkConnectionFlags::IGNORE_PROTOCOL_MISMATCH);
    inherited.sslSetTlsConfiguration(TlsConfiguration{});
    static_cast<void>(inherited.sslGetlastVerificationResult());
    inherited.sendStop(QueueStopModeEnum::QUEUE_STOP_MODE_FLUSH);
    inherited.cancelPendingOperations();
    inherited.disconnect();
    return 0;
}

// A link made in the child connects and is answered.
int checkFreshLink(const std::string& port)
{
    MarlekLink fresh("127.0.0.1", port);
    if (fresh.connect() != ErrorObject()) {
        return 20;
    }
    if (!fresh.getWorkstationStatus()) {
        return 21;
    }
    return 0;
}

const LiveDataHeader kHeader("Cyclic Voltammetry", "CV", {ColumnHeader("time", "s")});

// Rows every few milliseconds for far longer than any test runs.
FakeJobScript endlessRows()
{
    FakeJobScript script;
    script.event({{"type", "LIVE_DATA_HEADER"},
                  {"header", boost::json::value_from(kHeader)},
                  {"job_info", {{"status", "RUNNING"}}}});
    for (int row = 0; row < 20000; ++row) {
        script.event({{"type", "LIVE_DATA_ROWS"}, {"data", {{static_cast<double>(row)}}}})
            .sleep(std::chrono::milliseconds(3));
    }
    return script.jobDone("FINISHED", "RUN_TO_COMPLETION", ErrorObject());
}

class LinkAcrossFork : public ConnectedLinkTest<> {};

} // namespace

TEST_F(LinkAcrossFork, IdleLinkIsUnusableInTheChildAndANewOneWorks)
{
    const std::string port = workstation.port();
    const int code = exitCodeOfChild([&] {
        if (const int failed = checkInheritedLink(*link)) {
            return failed;
        }
        link.reset();
        return checkFreshLink(port);
    });
    EXPECT_EQ(code, 0) << (code == kKilledByAlarm ? "the child hung" : "a check of the child failed");
    // The parent's link goes on undisturbed.
    EXPECT_TRUE(link->getWorkstationStatus().has_value());
}

TEST_F(LinkAcrossFork, LinkStreamingLiveDataIsUnusableInTheChild)
{
    router().setJobScript(endlessRows());
    std::atomic<int> rows{0};
    CvJob job(CvParameters{}, CvJob::Callbacks{[&rows](const DcLiveDataMessage& message) {
                  if (message.kind == DcLiveDataMessageKind::ROWS) {
                      ++rows;
                  }
              }});
    const auto handler = MarlekLinkEventHandler::makeLiveDataRowsEventHandler(
        [](const std::vector<std::vector<double>>&) {});
    link->setEventHandler(handler);
    auto run = std::async(std::launch::async, [&] { return link->doJob(job); });
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    while (rows < 20 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(1ms);
    }
    ASSERT_GE(rows.load(), 20) << "no live data";

    const std::string port = workstation.port();
    const int code = exitCodeOfChild([&] {
        if (const int failed = checkInheritedLink(*link)) {
            return failed;
        }
        link.reset();
        return checkFreshLink(port);
    });
    EXPECT_EQ(code, 0) << (code == kKilledByAlarm ? "the child hung" : "a check of the child failed");

    // The parent's run goes on until it is ended here.
    const int before = rows;
    while (rows == before && std::chrono::steady_clock::now() < deadline + 20s) {
        std::this_thread::sleep_for(1ms);
    }
    EXPECT_GT(rows.load(), before);
    link->cancelPendingOperations();
    ASSERT_EQ(run.wait_for(kWait), std::future_status::ready);
    EXPECT_EQ(codeOf(run.get()), ErrorCodeEnum::STOPPED_MANUALLY);
}

TEST(SessionAcrossFork, ConnectedSessionIsUnusableInTheChild)
{
    FakeWorkstation workstation;
    auto session = std::make_unique<LinkJsonSession>("127.0.0.1", workstation.port(), MarlekLinkConnectionFlags::NONE,
                                                     "", "");
    ASSERT_EQ(session->connect(), ErrorObject());
    const int code = exitCodeOfChild([&] {
        const auto reply = session->sendRequest(boost::json::object{{"do", "/status"}}, -1);
        if (LinkJsonSession::getError(reply) != kNotConnected) {
            return 30;
        }
        if (session->getConnectionStatus() != MarlekLinkConnectionStatusEnum::DISCONNECTED) {
            return 31;
        }
        if (session->connect() != kNotConnected) {
            return 32;
        }
        CvJob job(CvParameters{});
        if (session->doJob(job) != kNotConnected) {
            return 33;
        }
        session->setEventHandler(MarlekLinkEventHandler::makeJobDoneEventHandler([](const JobInfo&) {}));
        session->setConnectionStatusCallback({});
        session->cancelPendingOperations();
        session->disconnect();
        session.reset();
        return 0;
    });
    EXPECT_EQ(code, 0) << (code == kKilledByAlarm ? "the child hung" : "a check of the child failed");
    EXPECT_TRUE(LinkJsonSession::wasSuccessful(session->sendRequest(boost::json::object{{"do", "/status"}}, -1)));
}

// A session given up from one of its callbacks is torn down on a thread of
// its own, which the program joins at exit: a child must not join the
// parent's.
TEST(TeardownAcrossFork, ChildEndsWhileTheParentTearsASessionDown)
{
    // The peer reads nothing, so the closing handshake takes its whole limit.
    const TimingOverride closingTakesLong(5s, 10s);
    FakeWorkstationOptions options;
    options.pauseReadingAfterUpgrade = true;
    FakeWorkstation workstation(options);
    auto link = std::make_unique<MarlekLink>("127.0.0.1", workstation.port());
    ASSERT_EQ(link->connect(), ErrorObject());
    std::promise<void> givenUp;
    link->setEventHandler(std::make_shared<MarlekLinkEventHandler>(
        EventTypeEnum::MESSAGE_FROM_SERVER, std::make_shared<MarlekLinkEventHandler::RawCallback>(
                                                [&](const boost::json::object&) {
                                                    link->disconnect();
                                                    givenUp.set_value();
                                                })));
    workstation.sendText(R"({"type":"EVENT","event":{"type":"MESSAGE_FROM_SERVER","message":{}}})");
    ASSERT_EQ(givenUp.get_future().wait_for(kWait), std::future_status::ready);

    // The child's own threads may take over what the parent's threads left
    // behind in memory, which joining those would then meet.
    FakeWorkstation answering;
    const int code = exitCodeOfChild([&] { return checkFreshLink(answering.port()); });
    EXPECT_EQ(code, 0) << (code == kKilledByAlarm ? "the child hung at exit" : "the child failed");
    workstation.resumeReading();
}

TEST(DiscoveryAcrossFork, ChildLetsGoOfTheParentsDiscovery)
{
    fake_workstation::UdpResponder responder;
    auto discovery = std::make_unique<AutoDiscovery>(
        3s, DiscoveryScope{std::vector<std::string>{"127.0.0.1"}, "127.0.0.1", responder.port()});
    discovery->discoverAsync([](std::vector<DiscoveredDevice>) {});
    ASSERT_TRUE(responder.waitForProbes(1, kWait));

    const int code = exitCodeOfChild([&] {
        // A discovery of the child's own runs while the parent's is left behind.
        std::promise<std::vector<DiscoveredDevice>> found;
        discovery->discoverAsync([&found](std::vector<DiscoveredDevice> devices) { found.set_value(devices); });
        auto devices = found.get_future();
        if (devices.wait_for(20s) != std::future_status::ready || devices.get().size() != 1) {
            return 40;
        }
        discovery.reset();
        return 0;
    });
    EXPECT_EQ(code, 0) << (code == kKilledByAlarm ? "the child hung" : "a check of the child failed");
}
