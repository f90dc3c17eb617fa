#include "queries_test_support.hpp"

#include "support/closed_port.hpp"

#include "fake_workstation/http_id_server.hpp"
#include "fake_workstation/stalled_resolver.hpp"
#include "marlek_link/marlek_link.hpp"
#include "marlek_link_json/http_fetcher.hpp"

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>

#include <future>
#include <optional>
#include <stop_token>

using fake_workstation::HttpIdBehaviour;
using fake_workstation::HttpIdServer;
using fake_workstation::HttpIdServerOptions;

namespace {

constexpr auto kHttpTimeout = 2000ms;

std::string portOf(const HttpIdServer& server)
{
    return std::to_string(server.port());
}

HttpIdServerOptions answering(std::string body)
{
    HttpIdServerOptions options;
    options.body = std::move(body);
    return options;
}

} // namespace

TEST(HttpIdentity, ReadsTheSameIdentityAsTheSession)
{
    HttpIdServer server;
    const auto overHttp = LinkJsonSession::id("127.0.0.1", portOf(server), kHttpTimeout);
    ASSERT_TRUE(overHttp.has_value()) << formatted(overHttp.error());

    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 1U);
    EXPECT_EQ(requests[0].requestLine, "GET /id HTTP/1.1");
    const std::vector<std::pair<std::string, std::string>> expectedHeaders{
        {"Connection", "close"}, {"Host", "127.0.0.1"}, {"User-Agent", "marlek_link_lib"}};
    EXPECT_EQ(requests[0].headers, expectedHeaders);

    FakeWorkstation workstation;
    LinkJsonSession session("127.0.0.1", workstation.port(), MarlekLinkConnectionFlags::NONE, "", "");
    ASSERT_EQ(codeOf(session.connect()), ErrorCodeEnum::NONE);
    const auto overSession = session.getWorkstationInfo();
    ASSERT_TRUE(overSession.has_value());
    EXPECT_EQ(*overHttp, *overSession);
    EXPECT_EQ(overHttp->protocol_version, 12U);
    EXPECT_EQ(overHttp->serial_number, "SN-1");
}

TEST(HttpIdentity, ToleratesCommentsAndTrailingCommas)
{
    HttpIdServer server(answering(R"({ // identity
        "status": "SUCCESS",
        "workstation": {"serial_number": "SN-9", "protocol_version": 12,},
    })"));
    const auto info = LinkJsonSession::id("127.0.0.1", portOf(server), kHttpTimeout);
    ASSERT_TRUE(info.has_value()) << formatted(info.error());
    EXPECT_EQ(info->serial_number, "SN-9");
}

struct BodyCase {
    const char* name;
    std::string body;
    ErrorObject expected;
};

class HttpIdentityBody : public ::testing::TestWithParam<BodyCase> {};

TEST_P(HttpIdentityBody, ReportsWhatIsWrongWithTheBody)
{
    HttpIdServer server(answering(GetParam().body));
    const auto info = LinkJsonSession::id("127.0.0.1", portOf(server), kHttpTimeout);
    ASSERT_FALSE(info.has_value());
    EXPECT_EQ(info.error(), GetParam().expected) << formatted(info.error());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, HttpIdentityBody,
    ::testing::Values(
        BodyCase{"Array", "[1, 2]", ErrorObject(ErrorCodeEnum::JSON_OBJECT_EXPECTED, "json object expected")},
        BodyCase{"EmptyObject", "{}", ErrorObject(ErrorCodeEnum::JSON_MALFORMED, "json malformed: {0}", "status")},
        BodyCase{"StatusNotText", R"({"status": true, "error": {}})",
                 ErrorObject(ErrorCodeEnum::JSON_MALFORMED, "json malformed: {0}", "status")},
        BodyCase{"Refused",
                 R"({"status": "FAILED", "error": {"number": 262145, "code": "QUEUE_FULL", "message": "queue full",
                     "message_parameters": []}})",
                 ErrorObject(ErrorCodeEnum::QUEUE_FULL, "queue full")},
        BodyCase{"FailedWithoutError", R"({"status": "FAILED"})", unknownError()},
        BodyCase{"WorkstationMissing", R"({"status": "SUCCESS"})",
                 ErrorObject(ErrorCodeEnum::PROPERTY_OBJECT_MISSING, "property '{0}' missing or not an object",
                             "workstation")},
        BodyCase{"WorkstationNotAnObject", R"({"status": "SUCCESS", "workstation": "ws"})",
                 ErrorObject(ErrorCodeEnum::PROPERTY_OBJECT_MISSING, "property '{0}' missing or not an object",
                             "workstation")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HttpIdentity, BodyThatIsNoJsonGivesTheParsersText)
{
    HttpIdServer server(answering("{\"status\": "));
    const auto info = LinkJsonSession::id("127.0.0.1", portOf(server), kHttpTimeout);
    ASSERT_FALSE(info.has_value());
    EXPECT_EQ(codeOf(info.error()), ErrorCodeEnum::JSON_MALFORMED);
    EXPECT_EQ(info.error().getMessageFormatString(), "json malformed: {0}");
    ASSERT_EQ(info.error().getMessageParameters().size(), 1U);
    const auto& text = std::get<std::string>(info.error().getMessageParameters()[0]);
    // The error code's own text with its category and value in brackets.
    EXPECT_NE(text.find("[boost.json:"), std::string::npos) << text;
}

struct TransportCase {
    const char* name;
    HttpIdBehaviour behaviour;
};

class HttpIdentityTransport : public ::testing::TestWithParam<TransportCase> {};

// The fetcher's error passes through.
TEST_P(HttpIdentityTransport, GivesTheFetchersError)
{
    HttpIdServerOptions options;
    options.behaviour = GetParam().behaviour;
    HttpIdServer server(options);
    const auto info = LinkJsonSession::id("127.0.0.1", portOf(server), 300ms);
    ASSERT_FALSE(info.has_value());
    const auto fetched = HttpFetcher::getJson("/id", "127.0.0.1", portOf(server), 300ms);
    ASSERT_FALSE(fetched.has_value());
    // A peer that closes at once may show as end of stream or as a reset,
    // so the socket's own text may differ between two calls.
    EXPECT_EQ(info.error().getErrorCodeEnum(), fetched.error().getErrorCodeEnum()) << formatted(info.error());
    EXPECT_EQ(info.error().getMessageFormatString(), fetched.error().getMessageFormatString());
}

INSTANTIATE_TEST_SUITE_P(Rows, HttpIdentityTransport,
                         ::testing::Values(TransportCase{"NotFound", HttpIdBehaviour::NOT_FOUND},
                                           TransportCase{"Silent", HttpIdBehaviour::NEVER_ANSWER},
                                           TransportCase{"ClosedAtOnce", HttpIdBehaviour::CLOSE_AT_ONCE}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(HttpIdentity, RefusedPortFailsToConnect)
{
    const auto info = LinkJsonSession::id("127.0.0.1", closedPort(), 300ms);
    ASSERT_FALSE(info.has_value());
    EXPECT_EQ(codeOf(info.error()), ErrorCodeEnum::CONNECTION_FAILED);
}

// The system resolver cannot be interrupted; the identity fetch ends at its
// time-out all the same.
TEST(HttpIdentity, StalledNameResolutionEndsAtTheTimeOut)
{
    fake_workstation::StalledResolver stalled;
    const auto started = std::chrono::steady_clock::now();
    auto fetching = std::async(std::launch::async, [] { return MarlekLink::id("workstation.example", "80", 300ms); });
    // Released on failure only, so that no thread is left hanging.
    const bool ended = fetching.wait_for(10s) == std::future_status::ready;
    if (!ended) {
        stalled.release();
    }
    ASSERT_TRUE(ended) << "the fetch waits for the resolver";
    const auto info = fetching.get();
    EXPECT_GE(std::chrono::steady_clock::now() - started, 300ms);
    ASSERT_FALSE(info.has_value());
    EXPECT_EQ(codeOf(info.error()), ErrorCodeEnum::CONNECTION_DNS_ERROR);
    EXPECT_EQ(formatted(info.error()),
              "dns error: " + boost::asio::error::make_error_code(boost::asio::error::operation_aborted).message());
}

namespace {

// Where the identity fetch waits when it is stopped.
enum class FetchStage { BeforeTheCall, ResolvingTheName, AwaitingTheAnswer };

struct StopCase {
    const char* name;
    FetchStage stage;
};

class StoppedIdentity : public ::testing::TestWithParam<StopCase> {};

} // namespace

// Without a limit, only a stop ends the wait for a workstation that never
// answers.
TEST_P(StoppedIdentity, EndsStoppedWherever)
{
    const FetchStage stage = GetParam().stage;
    HttpIdServerOptions options;
    options.behaviour = HttpIdBehaviour::NEVER_ANSWER;
    HttpIdServer server(options);
    std::optional<fake_workstation::StalledResolver> stalled;
    if (stage == FetchStage::ResolvingTheName) {
        stalled.emplace();
    }
    const std::string host = stage == FetchStage::ResolvingTheName ? "workstation.example" : "127.0.0.1";
    std::stop_source stop;
    if (stage == FetchStage::BeforeTheCall) {
        stop.request_stop();
    }

    auto fetching = std::async(std::launch::async, [&] {
        return LinkJsonSession::id(host, portOf(server), std::chrono::milliseconds::zero(), stop.get_token());
    });
    if (stage == FetchStage::ResolvingTheName) {
        ASSERT_TRUE(stalled->waitUntilAsked(5s));
    } else if (stage == FetchStage::AwaitingTheAnswer) {
        ASSERT_TRUE(server.waitForRequests(1, 5s));
    }
    stop.request_stop();
    const bool ended = fetching.wait_for(20s) == std::future_status::ready;
    if (!ended) {
        // Lets the fetch go, so that the test can end.
        stalled.reset();
    }
    ASSERT_TRUE(ended) << "the fetch goes on after the stop";
    const auto info = fetching.get();
    ASSERT_FALSE(info.has_value());
    EXPECT_EQ(info.error(), ErrorObject(ErrorCodeEnum::STOPPED_MANUALLY, "manually stopped"));
    if (stage == FetchStage::BeforeTheCall) {
        EXPECT_EQ(server.acceptedConnections(), 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, StoppedIdentity,
                         ::testing::Values(StopCase{"BeforeTheCall", FetchStage::BeforeTheCall},
                                           StopCase{"ResolvingTheName", FetchStage::ResolvingTheName},
                                           StopCase{"AwaitingTheAnswer", FetchStage::AwaitingTheAnswer}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(HttpIdentity, EveryOverloadTakesTheStopAndOtherwiseAnswers)
{
    HttpIdServer server;
    MarlekLink link("127.0.0.1", portOf(server));
    std::stop_source stop;
    stop.request_stop();
    const ErrorObject stopped(ErrorCodeEnum::STOPPED_MANUALLY, "manually stopped");
    EXPECT_EQ(MarlekLink::id("127.0.0.1", portOf(server), kHttpTimeout, stop.get_token()).error(), stopped);
    EXPECT_EQ(link.id(kHttpTimeout, stop.get_token()).error(), stopped);
    EXPECT_EQ(server.acceptedConnections(), 0u);

    const std::stop_source unused;
    const auto identity = link.id(std::chrono::milliseconds::zero(), unused.get_token());
    ASSERT_TRUE(identity.has_value()) << formatted(identity.error());
    EXPECT_EQ(identity->serial_number, "SN-1");
}
