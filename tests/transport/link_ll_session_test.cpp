#include "session_probe.hpp"

#include "support/closed_port.hpp"

#include "fake_workstation/fake_workstation.hpp"
#include "marlek_link_json/link_ll_session_flags.hpp"
#include "marlek_link_json/protocol_version.hpp"

#include <thread>

using Status = MarlekLinkServiceStatusEnum;
using Connection = MarlekLinkConnectionStatusEnum;

namespace {

constexpr auto kWait = 5s;

} // namespace

struct AuthorizationCase {
    std::string user;
    std::string password;
    std::string header;
};

class AuthorizationHeader : public ::testing::TestWithParam<AuthorizationCase> {};

TEST_P(AuthorizationHeader, IsBasicOfUserColonPassword)
{
    const auto& c = GetParam();
    EXPECT_EQ(AbstractLinkLlSession::makeWwwAuthHeader(c.user, c.password), c.header);
}

INSTANTIATE_TEST_SUITE_P(Credentials, AuthorizationHeader,
                         ::testing::Values(AuthorizationCase{"", "", ""},
                                           AuthorizationCase{"user", "", "Basic dXNlcjo="},
                                           AuthorizationCase{"", "pw", "Basic OnB3"},
                                           AuthorizationCase{"user", "pass", "Basic dXNlcjpwYXNz"},
                                           AuthorizationCase{"ab", "c:d", "Basic YWI6Yzpk"},
                                           AuthorizationCase{"a", "", "Basic YTo="}));

TEST(LinkLlSession, FreshSessionIsIdleAndHarmless)
{
    SessionProbe plain("127.0.0.1", "1", MarlekLinkConnectionFlags::NONE);
    SessionProbe tls("127.0.0.1", "1", MarlekLinkConnectionFlags::USE_SSL);
    EXPECT_EQ(plain->getConnectionStatus(), Connection::DISCONNECTED);
    EXPECT_EQ(plain->getSsl(), nullptr);
    EXPECT_NE(tls->getSsl(), nullptr);
    EXPECT_EQ(plain->connectionTimeout, 1500ms);
    EXPECT_EQ(ProtocolVersion::library(), 12u);

    // Before any connect: send refuses, disconnect does nothing.
    EXPECT_FALSE(plain->send("{}"));
    plain->disconnect();
    plain->disconnect();
    EXPECT_TRUE(plain.statusHistory().empty());
}

class PlainSession : public ShortTimers {};

struct UpgradeHeaderCase {
    const char* name;
    unsigned flags;
    std::string user;
    std::string password;
    std::optional<std::string> versionHeader;
    std::optional<std::string> authorization;
};

class UpgradeHeaders : public ShortTimers, public ::testing::WithParamInterface<UpgradeHeaderCase> {};

TEST_P(UpgradeHeaders, AreWhatTheWorkstationSees)
{
    const auto& c = GetParam();
    FakeWorkstation workstation;
    SessionProbe session("127.0.0.1", workstation.port(), c.flags, c.user, c.password);

    ASSERT_EQ(session->connect(), Status::OK);
    // The status is CONNECTED by the time the outcome is known.
    EXPECT_EQ(session->getConnectionStatus(), Connection::CONNECTED);
    EXPECT_TRUE(session.waitForStatus(Connection::CONNECTED));

    const auto records = workstation.connections();
    ASSERT_EQ(records.size(), 1u);
    const auto& request = records[0].request;
    EXPECT_EQ(request.method, "GET");
    EXPECT_EQ(request.target, "/default");
    EXPECT_EQ(request.header("Host"), "127.0.0.1:" + workstation.port());
    EXPECT_EQ(request.header("User-Agent"), "marlek_link_lib");
    EXPECT_EQ(request.header("M-Supported-Protocol-Version"), c.versionHeader);
    EXPECT_EQ(request.header("Authorization"), c.authorization);
    EXPECT_EQ(request.serverName, "");
}

TEST_F(PlainSession, HostHeaderBracketsAnIpv6Address)
{
    FakeWorkstation workstation(FakeWorkstationOptions{.listenAddress = "::1"});
    SessionProbe session("::1", workstation.port(), MarlekLinkConnectionFlags::NONE);
    ASSERT_EQ(session->connect(), Status::OK);
    const auto records = workstation.connections();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].request.header("Host"), "[::1]:" + workstation.port());
}

INSTANTIATE_TEST_SUITE_P(
    Flags, UpgradeHeaders,
    ::testing::Values(
        UpgradeHeaderCase{"Plain", MarlekLinkConnectionFlags::NONE, "", "", "12", std::nullopt},
        UpgradeHeaderCase{"Credentials", MarlekLinkConnectionFlags::NONE, "user", "pass", "12", "Basic dXNlcjpwYXNz"},
        UpgradeHeaderCase{"IgnoreProtocolMismatch", MarlekLinkConnectionFlags::IGNORE_PROTOCOL_MISMATCH, "", "",
                          std::nullopt, std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

struct OutcomeCase {
    const char* name;
    FakeWorkstationOptions options;
    std::string host; // empty: 127.0.0.1
    bool closedPort = false;
    std::string user;
    std::string password;
    Status outcome;
};

class ConnectOutcomes : public ShortTimers, public ::testing::WithParamInterface<OutcomeCase> {};

TEST_P(ConnectOutcomes, AreReportedAndLeaveTheSessionDown)
{
    const auto& c = GetParam();
    FakeWorkstation workstation(c.options);
    const std::string port = c.closedPort ? closedPort() : workstation.port();
    SessionProbe session(c.host.empty() ? "127.0.0.1" : c.host, port, MarlekLinkConnectionFlags::NONE, c.user,
                         c.password);
    session->connectionTimeout = 1000ms;

    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(session->connect(), c.outcome);
    EXPECT_LT(std::chrono::steady_clock::now() - started, 4s);

    if (c.outcome != Status::OK) {
        EXPECT_EQ(session->getConnectionStatus(), Connection::DISCONNECTED);
        // A second attempt before disconnect changes nothing.
        EXPECT_EQ(session->asyncConnect().get(), Status::ALREADY_STARTED);
        const auto disconnecting = std::chrono::steady_clock::now();
        session->disconnect();
        EXPECT_LT(std::chrono::steady_clock::now() - disconnecting, 1s);
        EXPECT_TRUE(session.statusHistory().empty());
    }
}

namespace {

FakeWorkstationOptions withCredentials()
{
    FakeWorkstationOptions options;
    options.requiredCredentials = FakeWorkstationOptions::Credentials{"user", "secret"};
    return options;
}

FakeWorkstationOptions forcedStatus(unsigned status)
{
    FakeWorkstationOptions options;
    options.forcedUpgradeStatus = status;
    return options;
}

FakeWorkstationOptions silent()
{
    FakeWorkstationOptions options;
    options.acceptWithoutAnswer = true;
    return options;
}

} // namespace

INSTANTIATE_TEST_SUITE_P(
    Outcomes, ConnectOutcomes,
    ::testing::Values(
        OutcomeCase{"RefusedPort", {}, "", true, "", "", Status::CONNECT_FAILED},
        OutcomeCase{"UnknownHost", {}, "no-such-host.invalid", false, "", "", Status::RESOLVE_FAILED},
        OutcomeCase{"RightCredentials", withCredentials(), "", false, "user", "secret", Status::OK},
        OutcomeCase{"MissingCredentials", withCredentials(), "", false, "", "", Status::HTTP_UNAUTHORIZED},
        OutcomeCase{"WrongPassword", withCredentials(), "", false, "user", "wrong", Status::HTTP_UNAUTHORIZED},
        OutcomeCase{"Unauthorized401", forcedStatus(401), "", false, "", "", Status::HTTP_UNAUTHORIZED},
        OutcomeCase{"Conflict409", forcedStatus(409), "", false, "", "", Status::HTTP_CONFLICT},
        OutcomeCase{"NotFound404", forcedStatus(404), "", false, "", "", Status::WEBSOCKET_HANDSHAKE_FAILED},
        OutcomeCase{"NeverAnswers", silent(), "", false, "", "", Status::WEBSOCKET_HANDSHAKE_FAILED}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PlainSession, TextAndBinaryMessagesTravelToTheirOwnHandlers)
{
    FakeWorkstation workstation;
    SessionProbe session("127.0.0.1", workstation.port(), MarlekLinkConnectionFlags::NONE);
    ASSERT_EQ(session->connect(), Status::OK);

    const std::string binary("\x00\x01\xff{}", 5);
    // Larger than the WebSocket layer's default message limit.
    const std::string large(17 * 1024 * 1024, 'x');
    workstation.sendText(R"({"type":"EVENT"})");
    workstation.sendBinary(binary);
    workstation.sendText(large);
    ASSERT_TRUE(session.waitFor([&] { return session.texts.size() == 2 && session.binaries.size() == 1; }));
    EXPECT_EQ(session.receivedTexts()[0], R"({"type":"EVENT"})");
    EXPECT_EQ(session.receivedTexts()[1].size(), large.size());
    EXPECT_EQ(session.receivedBinaries()[0], binary);

    EXPECT_TRUE(session->send(R"({"do":"/id"})"));
    EXPECT_TRUE(session->send(std::string("\xc3\xa9t\xc3\xa9")));
    ASSERT_TRUE(workstation.waitForMessages(2, kWait));
    const auto messages = workstation.connections()[0].messages;
    EXPECT_FALSE(messages[0].binary);
    EXPECT_EQ(messages[0].bytes, R"({"do":"/id"})");
    EXPECT_EQ(messages[1].bytes, "\xc3\xa9t\xc3\xa9");
}

TEST_F(PlainSession, PingsAfterSilenceAndNotWhileMessagesFlow)
{
    FakeWorkstation workstation;
    SessionProbe session("127.0.0.1", workstation.port(), MarlekLinkConnectionFlags::NONE);
    ASSERT_EQ(session->connect(), Status::OK);
    const auto connected = std::chrono::steady_clock::now();

    // Six silent waits of 100 ms precede each ping.
    ASSERT_TRUE(workstation.waitForPings(2, kWait));
    auto pings = workstation.connections()[0].pings;
    EXPECT_EQ(pings[0].payload, "mping");
    EXPECT_GE(pings[0].time - connected, 550ms);
    EXPECT_GE(pings[1].time - pings[0].time, 550ms);
    // Answered pings keep the connection up.
    EXPECT_EQ(session->getConnectionStatus(), Connection::CONNECTED);

    // Traffic in either direction every 200 ms restarts the count.
    const std::size_t before = workstation.connections()[0].pings.size();
    for (int i = 0; i < 8; ++i) {
        if (i % 2 == 0) {
            ASSERT_TRUE(session->send("tick"));
        } else {
            workstation.sendText("tock");
        }
        std::this_thread::sleep_for(200ms);
    }
    EXPECT_EQ(workstation.connections()[0].pings.size(), before);
    EXPECT_EQ(session->getConnectionStatus(), Connection::CONNECTED);
}

TEST_F(PlainSession, VanishedPeerIsDetectedByAnUnansweredPing)
{
    FakeWorkstationOptions options;
    options.pauseReadingAfterUpgrade = true; // no pong, no message: as good as gone
    FakeWorkstation workstation(options);
    SessionProbe session("127.0.0.1", workstation.port(), MarlekLinkConnectionFlags::NONE);
    ASSERT_EQ(session->connect(), Status::OK);

    EXPECT_TRUE(session.waitForStatus(Connection::DISCONNECTED, kWait));
    EXPECT_FALSE(session->send("{}"));
    const auto started = std::chrono::steady_clock::now();
    session->disconnect();
    EXPECT_LT(std::chrono::steady_clock::now() - started, 2s);
}

struct PeerEndCase {
    const char* name;
    bool drop; // otherwise a close frame 1000
};

class PeerEndsConnection : public ShortTimers, public ::testing::WithParamInterface<PeerEndCase> {};

TEST_P(PeerEndsConnection, IsReportedAsDisconnectedAndSendRefuses)
{
    FakeWorkstation workstation;
    SessionProbe session("127.0.0.1", workstation.port(), MarlekLinkConnectionFlags::NONE);
    ASSERT_EQ(session->connect(), Status::OK);
    ASSERT_TRUE(workstation.waitUntil([](const auto& c) { return c.size() == 1; }, kWait));

    if (GetParam().drop) {
        workstation.dropConnection();
    } else {
        workstation.closeConnection(1000);
    }
    ASSERT_TRUE(session.waitForStatus(Connection::DISCONNECTED, kWait));
    EXPECT_EQ(session.statusHistory(), (std::vector{Connection::CONNECTED, Connection::DISCONNECTED}));
    EXPECT_EQ(session->getConnectionStatus(), Connection::DISCONNECTED);
    EXPECT_FALSE(session->send("{}"));
    session->disconnect();
    EXPECT_EQ(session.statusHistory().size(), 2u);
}

INSTANTIATE_TEST_SUITE_P(Ends, PeerEndsConnection,
                         ::testing::Values(PeerEndCase{"Drop", true}, PeerEndCase{"CloseFrame", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PlainSession, DisconnectWritesQueuedMessagesThenClosesWith1000)
{
    FakeWorkstation workstation;
    SessionProbe session("127.0.0.1", workstation.port(), MarlekLinkConnectionFlags::NONE);
    ASSERT_EQ(session->connect(), Status::OK);

    for (int i = 0; i < 100; ++i) {
        ASSERT_TRUE(session->send("message " + std::to_string(i)));
    }
    session->disconnect();
    // disconnect returned after the DISCONNECTED report, with the worker joined.
    EXPECT_EQ(session.statusHistory(), (std::vector{Connection::CONNECTED, Connection::DISCONNECTED}));
    EXPECT_EQ(session->getConnectionStatus(), Connection::DISCONNECTED);
    EXPECT_FALSE(session->send("late"));

    ASSERT_TRUE(workstation.waitForConnectionEnd(kWait));
    const auto record = workstation.connections()[0];
    ASSERT_EQ(record.messages.size(), 100u);
    for (int i = 0; i < 100; ++i) {
        EXPECT_EQ(record.messages[i].bytes, "message " + std::to_string(i));
    }
    EXPECT_EQ(record.closeCode, 1000);

    // The same session object connects again after a disconnect.
    ASSERT_EQ(session->connect(), Status::OK);
    EXPECT_TRUE(session->send("again"));
    ASSERT_TRUE(workstation.waitForMessages(1, kWait));
}

TEST_F(PlainSession, PeerThatNeverAnswersTheCloseDelaysDisconnectOnlyUpToTheLimit)
{
    FakeWorkstationOptions options;
    options.pauseReadingAfterUpgrade = true;
    FakeWorkstation workstation(options);
    SessionProbe session("127.0.0.1", workstation.port(), MarlekLinkConnectionFlags::NONE);
    ASSERT_EQ(session->connect(), Status::OK);

    const auto started = std::chrono::steady_clock::now();
    session->disconnect();
    EXPECT_LT(std::chrono::steady_clock::now() - started, 3s);
    EXPECT_EQ(session.statusHistory().back(), Connection::DISCONNECTED);
}

struct HandlerFaultCase {
    const char* name;
    bool binary;
};

class ReceiveHandlerFault : public ShortTimers, public ::testing::WithParamInterface<HandlerFaultCase> {};

TEST_P(ReceiveHandlerFault, EndsTheConnectionWithADisconnectedReport)
{
    FakeWorkstation workstation;
    SessionProbe session("127.0.0.1", workstation.port(), MarlekLinkConnectionFlags::NONE);
    if (GetParam().binary) {
        session->setReceiveBinaryHandler({}); // a binary frame nobody takes
    } else {
        session->setReceiveHandler([](std::string&&) { throw std::runtime_error("handler failed"); });
    }
    ASSERT_EQ(session->connect(), Status::OK);

    if (GetParam().binary) {
        workstation.sendBinary("payload");
    } else {
        workstation.sendText("{}");
    }
    EXPECT_TRUE(session.waitForStatus(Connection::DISCONNECTED, kWait));
    EXPECT_FALSE(session->send("{}"));
}

INSTANTIATE_TEST_SUITE_P(Handlers, ReceiveHandlerFault,
                         ::testing::Values(HandlerFaultCase{"ThrowingTextHandler", false},
                                           HandlerFaultCase{"MissingBinaryHandler", true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(LinkLlSessionQueue, FullQueueRefusesAndAcceptsAgainOnceDrained)
{
    // Production timers: no ping may fall due while the peer stalls.
    FakeWorkstationOptions options;
    options.pauseReadingAfterUpgrade = true;
    FakeWorkstation workstation(options);
    SessionProbe session("127.0.0.1", workstation.port(), MarlekLinkConnectionFlags::NONE);
    ASSERT_EQ(session->connect(), Status::OK);

    // Once the socket buffers are full the writer stalls and the queue fills.
    const std::string chunk(64 * 1024, 'q');
    std::size_t accepted = 0;
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    while (std::chrono::steady_clock::now() < deadline) {
        if (!session->send(chunk + std::to_string(accepted))) {
            // The refusal is not a passing state of a busy writer.
            std::this_thread::sleep_for(100ms);
            if (!session->send(chunk + std::to_string(accepted))) {
                break;
            }
        }
        ++accepted;
    }
    EXPECT_GE(accepted, 1024u);
    EXPECT_FALSE(session->send("refused"));

    workstation.resumeReading();
    ASSERT_TRUE(workstation.waitForMessages(accepted, 30s));
    EXPECT_TRUE(session->send("after"));
    ASSERT_TRUE(workstation.waitForMessages(accepted + 1, kWait));
    const auto messages = workstation.connections()[0].messages;
    for (std::size_t i = 0; i < accepted; ++i) {
        ASSERT_EQ(messages[i].bytes, chunk + std::to_string(i)) << i;
    }
    EXPECT_EQ(messages[accepted].bytes, "after");
}

TEST(LinkLlSessionQueue, ConnectionLostWhileWritesStallIsReportedAndRefusesFurtherSends)
{
    // Long enough that no ping falls due while the queue fills.
    TimingOverride timing(1s);
    FakeWorkstationOptions options;
    options.pauseReadingAfterUpgrade = true;
    FakeWorkstation workstation(options);
    SessionProbe session("127.0.0.1", workstation.port(), MarlekLinkConnectionFlags::NONE);
    ASSERT_EQ(session->connect(), Status::OK);

    const std::string chunk(64 * 1024, 'w');
    for (int i = 0; i < 4096 && session->send(chunk); ++i) {
    }
    // Unread data makes the close a reset: the stalled write fails.
    workstation.dropConnection();
    EXPECT_TRUE(session.waitForStatus(Connection::DISCONNECTED, kWait));
    EXPECT_FALSE(session->send("{}"));
}
