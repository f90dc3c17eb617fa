#include "session_test_support.hpp"

#include "support/timing_override.hpp"

#include "fake_workstation/stalled_resolver.hpp"

#include <functional>
#include <future>
#include <optional>
#include <stop_token>

using Connection = MarlekLinkConnectionStatusEnum;

namespace {

// Far beyond every wait of these tests: only the cancellation can end the
// attempt.
constexpr auto kNeverEnds = std::chrono::milliseconds(std::chrono::minutes(10));
constexpr auto kCancelled = 20s;

const ErrorObject kStoppedManually(ErrorCodeEnum::STOPPED_MANUALLY, "manually stopped");

// Where the attempt is when it is cancelled.
enum class Stage { BeforeTheAttempt, ResolvingTheName, AwaitingTheUpgrade };
// How it is cancelled.
enum class Means { StopToken, CancelPendingOperations };

struct CancelCase {
    const char* name;
    Stage stage;
    Means means;
};

FakeWorkstationOptions neverAnswering()
{
    FakeWorkstationOptions options;
    options.acceptWithoutAnswer = true;
    return options;
}

class CancelledSessionConnect : public ::testing::TestWithParam<CancelCase> {
protected:
    const TimingOverride upgradeNeverEnds{5s, kNeverEnds};
    FakeWorkstation silentPeer{neverAnswering()};
    std::optional<fake_workstation::StalledResolver> stalled;
};

} // namespace

TEST_P(CancelledSessionConnect, EndsStoppedAndLeavesNothingConnected)
{
    const CancelCase& cancel = GetParam();
    if (cancel.stage == Stage::ResolvingTheName) {
        stalled.emplace();
    }
    const std::string host = cancel.stage == Stage::ResolvingTheName ? "workstation.example" : "127.0.0.1";
    LinkJsonSession session(host, silentPeer.port(), MarlekLinkConnectionFlags::NONE, "", "");
    session.setConnectionTimeout(kNeverEnds);
    std::stop_source stop;
    const auto cancelNow = [&] {
        if (cancel.means == Means::StopToken) {
            stop.request_stop();
        } else {
            session.cancelPendingOperations();
        }
    };

    if (cancel.stage == Stage::BeforeTheAttempt) {
        // Only a stop token can be asked to stop before the attempt exists.
        ASSERT_EQ(cancel.means, Means::StopToken);
        cancelNow();
    }
    auto connecting = std::async(std::launch::async, [&] { return session.connect(stop.get_token()); });
    if (cancel.stage == Stage::ResolvingTheName) {
        ASSERT_TRUE(stalled->waitUntilAsked(kWait));
        cancelNow();
    } else if (cancel.stage == Stage::AwaitingTheUpgrade) {
        ASSERT_TRUE(silentPeer.waitForAcceptedConnections(1, kWait));
        cancelNow();
    }
    if (connecting.wait_for(kCancelled) != std::future_status::ready) {
        ADD_FAILURE() << "the attempt goes on after the cancellation";
        stalled.reset();
        session.disconnect();
    }
    EXPECT_EQ(connecting.get(), kStoppedManually);
    EXPECT_EQ(session.getConnectionStatus(), Connection::DISCONNECTED);
    EXPECT_EQ(replyCode(session.sendRequest(boost::json::object{{"do", "/status"}}, -1)),
              ErrorCodeEnum::CONNECTION_NOT_ESTABLISHED);
}

INSTANTIATE_TEST_SUITE_P(
    Session, CancelledSessionConnect,
    ::testing::Values(CancelCase{"StoppedBeforeTheAttempt", Stage::BeforeTheAttempt, Means::StopToken},
                      CancelCase{"StoppedWhileResolving", Stage::ResolvingTheName, Means::StopToken},
                      CancelCase{"CancelledWhileResolving", Stage::ResolvingTheName, Means::CancelPendingOperations},
                      CancelCase{"StoppedAwaitingTheUpgrade", Stage::AwaitingTheUpgrade, Means::StopToken},
                      CancelCase{"CancelledAwaitingTheUpgrade", Stage::AwaitingTheUpgrade,
                                 Means::CancelPendingOperations}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SessionConnectCancel, AfterTheAttemptEndedChangesNothing)
{
    FakeWorkstation workstation;
    LinkJsonSession session("127.0.0.1", workstation.port(), MarlekLinkConnectionFlags::NONE, "", "");
    std::stop_source stop;
    ASSERT_EQ(session.connect(stop.get_token()), ErrorObject());
    stop.request_stop();
    session.cancelPendingOperations();
    EXPECT_EQ(session.getConnectionStatus(), Connection::CONNECTED);
    EXPECT_TRUE(LinkJsonSession::wasSuccessful(session.sendRequest(boost::json::object{{"do", "/status"}}, -1)));
}
