#include "session_test_support.hpp"

#include "support/closed_port.hpp"
#include "support/timing_override.hpp"

#include <future>
#include <mutex>
#include <thread>

using Connection = MarlekLinkConnectionStatusEnum;

namespace {

// A factory that cannot build a session.
class NullFactory : public LinkLlSessionAbstractFactory {
public:
    AbstractLinkLlSession* createSession() override { return nullptr; }
};

} // namespace

TEST(SessionConnection, ConnectsReportsStatusAndDisconnects)
{
    FakeWorkstation workstation;
    // Declared first: the session's closing reports DISCONNECTED into it.
    Inbox<Connection> statuses;
    LinkJsonSession session("127.0.0.1", workstation.port(), MarlekLinkConnectionFlags::NONE, "", "");
    session.setConnectionStatusCallback([&](Connection status) { statuses.push(status); });
    EXPECT_EQ(session.getConnectionStatus(), Connection::DISCONNECTED);

    const ErrorObject result = session.connect();
    EXPECT_EQ(result, ErrorObject());
    EXPECT_EQ(formatted(result), "no error occoured");
    EXPECT_EQ(session.getConnectionStatus(), Connection::CONNECTED);
    ASSERT_TRUE(statuses.waitForCount(1));

    const ErrorObject again = session.connect();
    EXPECT_EQ(codeOf(again), ErrorCodeEnum::ALREADY_CONNECTED);
    EXPECT_EQ(formatted(again), "already connected");
    EXPECT_EQ(workstation.acceptedConnectionCount(), 1u);

    session.disconnect();
    EXPECT_EQ(session.getConnectionStatus(), Connection::DISCONNECTED);
    EXPECT_EQ(statuses.snapshot(), (std::vector{Connection::CONNECTED, Connection::DISCONNECTED}));
    ASSERT_TRUE(workstation.waitForConnectionEnd(kWait));
    EXPECT_EQ(workstation.connections()[0].closeCode, 1000);
}

struct ConnectFailureCase {
    const char* name;
    FakeWorkstationOptions options;
    bool closedPort;
    ErrorCodeEnum code;
    const char* message;
};

class SessionConnectFailure : public ::testing::TestWithParam<ConnectFailureCase> {};

TEST_P(SessionConnectFailure, MapsTheOutcomeAndLeavesRequestsFailingAtOnce)
{
    const auto& c = GetParam();
    FakeWorkstation workstation(c.options);
    LinkJsonSession session("127.0.0.1", c.closedPort ? closedPort() : workstation.port(),
                            MarlekLinkConnectionFlags::NONE, "", "");
    const ErrorObject result = session.connect();
    EXPECT_EQ(codeOf(result), c.code);
    EXPECT_EQ(formatted(result), c.message);
    EXPECT_EQ(session.getConnectionStatus(), Connection::DISCONNECTED);

    // The unconnected low-level session would take the message into a queue
    // that is never sent; the request must fail instead of waiting.
    const auto started = std::chrono::steady_clock::now();
    const auto reply = session.sendRequest(boost::json::object{{"do", "/id"}}, -1);
    EXPECT_LT(std::chrono::steady_clock::now() - started, 1s);
    EXPECT_EQ(replyCode(reply), ErrorCodeEnum::CONNECTION_NOT_ESTABLISHED);
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, SessionConnectFailure,
    ::testing::Values(
        ConnectFailureCase{"refused", {}, true, ErrorCodeEnum::CONNECTION_FAILED, "failed to connect"},
        ConnectFailureCase{"unauthorized", {.forcedUpgradeStatus = 401}, false, ErrorCodeEnum::UNAUTHORIZED,
                           "unauthorized"},
        ConnectFailureCase{"conflict", {.forcedUpgradeStatus = 409}, false, ErrorCodeEnum::PROTOCOL_VERSION_MISMATCH,
                           "protocol version mismatch"},
        ConnectFailureCase{"not found", {.forcedUpgradeStatus = 404}, false,
                           ErrorCodeEnum::FAILED_TO_ESTABLISH_WEBSOCKET_CONNECTION,
                           "failed to establish a websocket connection"}),
    [](const auto& info) {
        std::string name = info.param.name;
        std::replace(name.begin(), name.end(), ' ', '_');
        return name;
    });

TEST(SessionConnection, FactoryWithoutSessionIsAnUnexpectedException)
{
    LinkJsonSession session(new NullFactory);
    const ErrorObject result = session.connect();
    EXPECT_EQ(codeOf(result), ErrorCodeEnum::UNEXPECTED_EXCEPTION);
    EXPECT_EQ(formatted(result), "an unexpected exception occured: Unable to create connection object");
}

TEST(SessionConnection, RequestWithoutConnectionFailsAtOnceAndDisconnectIsHarmless)
{
    LinkJsonSession session("127.0.0.1", "1", MarlekLinkConnectionFlags::NONE, "", "");
    Inbox<boost::json::object> replies;
    session.sendRequest(boost::json::object{{"do", "/id"}}, [&](const auto& reply) { replies.push(reply); }, -1);
    ASSERT_EQ(replies.size(), 1u);
    const auto reply = replies.snapshot()[0];
    EXPECT_EQ(reply.at("type"), "REPLY");
    EXPECT_EQ(reply.at("status"), "FAILED");
    EXPECT_EQ(formatted(LinkJsonSession::getError(reply)), "no network connection has been established yet");
    session.disconnect();
    session.disconnect();
}

TEST(SessionConnection, ReplacedStatusCallbackAloneHearsLaterChanges)
{
    FakeWorkstation workstation;
    LinkJsonSession session("127.0.0.1", workstation.port(), MarlekLinkConnectionFlags::NONE, "", "");
    Inbox<Connection> first;
    Inbox<Connection> second;
    session.setConnectionStatusCallback([&](Connection status) { first.push(status); });
    ASSERT_EQ(codeOf(session.connect()), ErrorCodeEnum::NONE);
    ASSERT_TRUE(first.waitForCount(1));
    session.setConnectionStatusCallback([&](Connection status) { second.push(status); });
    workstation.dropConnection();
    ASSERT_TRUE(second.waitForCount(1, 8s));
    EXPECT_EQ(second.snapshot()[0], Connection::DISCONNECTED);
    EXPECT_EQ(first.size(), 1u);
}

TEST(SessionConnection, StatusCallbackReplacedWhileBeingCalledAndThrowingIsContained)
{
    FakeWorkstation workstation;
    LinkJsonSession session("127.0.0.1", workstation.port(), MarlekLinkConnectionFlags::NONE, "", "");
    std::atomic<int> calls{0};
    session.setConnectionStatusCallback([&](Connection) {
        ++calls;
        throw std::runtime_error("status callback failure");
    });
    ASSERT_EQ(codeOf(session.connect()), ErrorCodeEnum::NONE);
    // Replacing concurrently with the worker's calls must be safe.
    std::thread replacer([&] {
        for (int i = 0; i < 200; ++i) {
            session.setConnectionStatusCallback([&](Connection) { ++calls; });
        }
    });
    replacer.join();
    // The worker survived the throwing callback: requests still work.
    EXPECT_TRUE(LinkJsonSession::wasSuccessful(session.sendRequest(boost::json::object{{"do", "/status"}}, -1)));
    session.disconnect();
    EXPECT_GE(calls.load(), 2);
}

TEST(SessionConnection, DestroyingAConnectedSessionClosesTheConnection)
{
    FakeWorkstation workstation;
    {
        LinkJsonSession session("127.0.0.1", workstation.port(), MarlekLinkConnectionFlags::NONE, "", "");
        ASSERT_EQ(codeOf(session.connect()), ErrorCodeEnum::NONE);
    }
    ASSERT_TRUE(workstation.waitForConnectionEnd(kWait));
    EXPECT_EQ(workstation.connections()[0].closeCode, 1000);
}

TEST(SessionConnection, DestroyedWhileConnectingJoinsTheConnectThread)
{
    FakeWorkstation workstation({.acceptWithoutAnswer = true});
    auto session = std::make_unique<LinkJsonSession>("127.0.0.1", workstation.port(),
                                                     MarlekLinkConnectionFlags::NONE, "", "");
    auto outcome = session->asyncConnect();
    ASSERT_TRUE(workstation.waitForAcceptedConnections(1, kWait));
    session.reset();
    ASSERT_EQ(outcome.wait_for(0s), std::future_status::ready);
    EXPECT_NE(codeOf(outcome.get()), ErrorCodeEnum::NONE);
}

TEST(SessionConnection, RecognisesAddressLiterals)
{
    EXPECT_TRUE(LinkJsonSession::isIpAddress("127.0.0.1"));
    EXPECT_TRUE(LinkJsonSession::isIpAddress("::1"));
    EXPECT_TRUE(LinkJsonSession::isIpAddress("fe80::1:2"));
    EXPECT_FALSE(LinkJsonSession::isIpAddress("localhost"));
    EXPECT_FALSE(LinkJsonSession::isIpAddress("127.0.0"));
    EXPECT_FALSE(LinkJsonSession::isIpAddress(""));
}

// A status callback may hand its session to another thread for teardown as
// soon as CONNECTED is reported, while connect is still finishing the start
// of its attempt on the caller's thread.
TEST(SessionConnection, TeardownOnAnotherThreadRightAtConnectedIsSafe)
{
    FakeWorkstation workstation;
    for (int round = 0; round < 20; ++round) {
        std::promise<void> tornDown;
        std::thread teardown;
        {
            LinkJsonSession session("127.0.0.1", workstation.port(), MarlekLinkConnectionFlags::NONE, "", "");
            std::mutex teardownMutex;
            session.setConnectionStatusCallback([&](Connection status) {
                if (status != Connection::CONNECTED) {
                    return;
                }
                std::lock_guard lock(teardownMutex);
                teardown = std::thread([&] {
                    session.disconnect();
                    tornDown.set_value();
                });
            });
            // Either outcome is right: the teardown may stop the attempt.
            const ErrorCodeEnum outcome = codeOf(session.connect());
            EXPECT_TRUE(outcome == ErrorCodeEnum::NONE || outcome == ErrorCodeEnum::CONNECTION_FAILED) << round;
            ASSERT_EQ(tornDown.get_future().wait_for(kWait), std::future_status::ready) << round;
            std::lock_guard lock(teardownMutex);
            teardown.join();
        }
    }
}

struct PeerEndCase {
    const char* name;
    bool drop; // otherwise a close frame 1000
};

class PeerEndsTheConnection : public ::testing::TestWithParam<PeerEndCase> {};

// The heartbeat waits far longer than the test allows, and the request far
// longer still: only a loss reported as soon as the receive loop ends gets
// the request its failure, and the session its new connection, in time.
TEST_P(PeerEndsTheConnection, FailsPendingWorkAsClosedAndAllowsANewConnection)
{
    TimingOverride slowHeartbeat(10min);
    FakeWorkstation workstation;
    workstation.router().setReplyOverride("/status", {.mode = FakeReplyOverride::Mode::NoReply});
    // Outlives the session, whose end reports once more.
    Inbox<std::string> seen;
    LinkJsonSession session("127.0.0.1", workstation.port(), MarlekLinkConnectionFlags::NONE, "", "");
    session.setRequestTimeout(10min);
    session.setConnectionStatusCallback([&](Connection status) {
        seen.push(status == Connection::CONNECTED ? "CONNECTED" : "DISCONNECTED");
    });
    ASSERT_EQ(codeOf(session.connect()), ErrorCodeEnum::NONE);
    session.sendRequest(boost::json::object{{"do", "/status"}},
                        [&](const auto& reply) { seen.push("reply " + formatted(LinkJsonSession::getError(reply))); },
                        -1);
    ASSERT_TRUE(workstation.waitForMessages(1, kWait));

    if (GetParam().drop) {
        workstation.dropConnection();
    } else {
        workstation.closeConnection(1000);
    }
    ASSERT_TRUE(seen.waitForCount(3, 60s));
    EXPECT_EQ(seen.snapshot(), (std::vector<std::string>{"CONNECTED", "reply network connection closed by remote peer",
                                                         "DISCONNECTED"}));
    EXPECT_EQ(session.getConnectionStatus(), Connection::DISCONNECTED);

    ASSERT_EQ(codeOf(session.connect()), ErrorCodeEnum::NONE);
    workstation.router().clearReplyOverrides();
    EXPECT_TRUE(LinkJsonSession::wasSuccessful(session.sendRequest(boost::json::object{{"do", "/status"}}, -1)));
    EXPECT_EQ(workstation.connections().size(), 2u);
}

INSTANTIATE_TEST_SUITE_P(Ends, PeerEndsTheConnection,
                         ::testing::Values(PeerEndCase{"Drop", true}, PeerEndCase{"CloseFrame", false}),
                         [](const auto& info) { return std::string(info.param.name); });
