#include "live_data_test_support.hpp"

#include "support/closed_port.hpp"

#include "fake_workstation/http_id_server.hpp"
#include "marlek_link_json/http_fetcher.hpp"

#include <chrono>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

using fake_workstation::HttpIdBehaviour;
using fake_workstation::HttpIdServer;
using fake_workstation::HttpIdServerOptions;
using namespace std::chrono_literals;

namespace {

constexpr auto shortTimeout = 300ms;

std::string portOf(const HttpIdServer& server)
{
    return std::to_string(server.port());
}

} // namespace

TEST(HttpFetcher, SendsTheRequestAndReturnsTheBody)
{
    HttpIdServer server;
    const auto body = HttpFetcher::getJson("/id", "127.0.0.1", portOf(server), 2000ms);
    ASSERT_TRUE(body.has_value()) << body.error().getMessageFormatString();
    EXPECT_EQ(*body, HttpIdServer::defaultIdBody());
    EXPECT_EQ(parsePrecise(*body).at("workstation").at("serial_number"), "SN-1");

    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 1U);
    EXPECT_EQ(requests[0].requestLine, "GET /id HTTP/1.1");
    const std::vector<std::pair<std::string, std::string>> expectedHeaders{
        {"Connection", "close"}, {"Host", "127.0.0.1"}, {"User-Agent", "marlek_link_lib"}};
    EXPECT_EQ(requests[0].headers, expectedHeaders);
}

TEST(HttpFetcher, HostHeaderIsTheHostAsGivenWithoutPort)
{
    HttpIdServer server;
    const auto body = HttpFetcher::getJson("/id", "localhost", portOf(server), 2000ms);
    ASSERT_TRUE(body.has_value()) << body.error().getMessageFormatString();
    ASSERT_EQ(server.requests().size(), 1U);
    EXPECT_EQ(server.requests()[0].headers.at(1), (std::pair<std::string, std::string>{"Host", "localhost"}));
}

TEST(HttpFetcher, HostHeaderBracketsAnIpv6Address)
{
    HttpIdServer server(HttpIdServerOptions{.listenAddress = "::1"});
    const auto body = HttpFetcher::getJson("/id", "::1", portOf(server), 2000ms);
    ASSERT_TRUE(body.has_value()) << body.error().getMessageFormatString();
    ASSERT_EQ(server.requests().size(), 1U);
    EXPECT_EQ(server.requests()[0].headers.at(1), (std::pair<std::string, std::string>{"Host", "[::1]"}));
}

TEST(HttpFetcher, ZeroTimeOutSetsNoLimit)
{
    HttpIdServerOptions options;
    options.body = R"({"status":"SUCCESS","value":0.1})";
    HttpIdServer server(options);
    const auto body = HttpFetcher::getJson("/id", "127.0.0.1", portOf(server), 0ms);
    ASSERT_TRUE(body.has_value()) << body.error().getMessageFormatString();
    EXPECT_EQ(*body, options.body);
}

TEST(HttpFetcher, ConcurrentCallsAreIndependent)
{
    HttpIdServer server;
    HttpIdServer silent({.behaviour = HttpIdBehaviour::NEVER_ANSWER});
    std::vector<std::expected<std::string, ErrorObject>> results(4);
    {
        std::vector<std::jthread> callers;
        for (std::size_t i = 0; i < results.size(); ++i) {
            const auto& target = i % 2 == 0 ? server : silent;
            callers.emplace_back([&results, i, port = portOf(target)] {
                results[i] = HttpFetcher::getJson("/id", "127.0.0.1", port, shortTimeout);
            });
        }
    }
    for (std::size_t i = 0; i < results.size(); ++i) {
        EXPECT_EQ(results[i].has_value(), i % 2 == 0) << i;
    }
    EXPECT_EQ(server.requests().size(), 2U);
}

struct HttpErrorCase {
    const char* name;
    HttpIdBehaviour behaviour;
    unsigned status;
    ErrorCodeEnum code;
    const char* message;
    // Empty when the text depends on timing (end of stream or reset): then
    // one non-empty text is expected.
    std::optional<std::vector<ErrorParameter>> parameters;
};

class HttpFetcherErrorRow : public ::testing::TestWithParam<HttpErrorCase> {};

TEST_P(HttpFetcherErrorRow, ReportsTheStepThatFailed)
{
    HttpIdServerOptions options;
    options.behaviour = GetParam().behaviour;
    options.status = GetParam().status;
    HttpIdServer server(options);

    const auto start = std::chrono::steady_clock::now();
    const auto result = HttpFetcher::getJson("/id", "127.0.0.1", portOf(server), shortTimeout);
    const auto elapsed = std::chrono::steady_clock::now() - start;

    ASSERT_FALSE(result.has_value());
    EXPECT_EQ(result.error().getErrorCodeEnum(), GetParam().code);
    EXPECT_EQ(result.error().getMessageFormatString(), GetParam().message);
    const auto& parameters = result.error().getMessageParameters();
    if (GetParam().parameters) {
        EXPECT_EQ(parameters, *GetParam().parameters);
    } else {
        ASSERT_EQ(parameters.size(), 1U);
        EXPECT_FALSE(std::get<std::string>(parameters[0]).empty());
    }
    EXPECT_LT(elapsed, shortTimeout + 2s);
    EXPECT_EQ(server.acceptedConnections(), 1U);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, HttpFetcherErrorRow,
    ::testing::Values(
        HttpErrorCase{"NotFound", HttpIdBehaviour::NOT_FOUND, 0, ErrorCodeEnum::CONNECTION_HTTP_ERROR,
                      "http error code {0} occured: {1}",
                      std::vector{toErrorParameter(404LL), toErrorParameter(std::string("Not Found"))}},
        HttpErrorCase{"NoReasonPhrase", HttpIdBehaviour::NO_REASON_PHRASE, 503, ErrorCodeEnum::CONNECTION_HTTP_ERROR,
                      "http error code {0} occured: {1}",
                      std::vector{toErrorParameter(503LL), toErrorParameter(std::string("Service Unavailable"))}},
        HttpErrorCase{"SilentServer", HttpIdBehaviour::NEVER_ANSWER, 0, ErrorCodeEnum::FAILED_TO_READ_FROM_SOCKET,
                      "failed to read from socket: {0}",
                      std::vector{toErrorParameter(std::string("Operation canceled"))}},
        HttpErrorCase{"ClosedAtOnce", HttpIdBehaviour::CLOSE_AT_ONCE, 0, ErrorCodeEnum::FAILED_TO_READ_FROM_SOCKET,
                      "failed to read from socket: {0}", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HttpFetcher, RefusedPortFailsToConnectWithoutParameter)
{
    const auto result = HttpFetcher::getJson("/id", "127.0.0.1", closedPort(), shortTimeout);
    ASSERT_FALSE(result.has_value());
    EXPECT_EQ(result.error().getErrorCodeEnum(), ErrorCodeEnum::CONNECTION_FAILED);
    EXPECT_EQ(result.error().getMessageFormatString(), "failed to connect");
    EXPECT_TRUE(result.error().getMessageParameters().empty());
}

// An unknown service name fails inside the resolver without asking any name
// server, so the resolve row is reached without leaving the machine.
TEST(HttpFetcher, UnresolvableEndpointIsADnsError)
{
    const auto result = HttpFetcher::getJson("/id", "127.0.0.1", "no-such-service-here", shortTimeout);
    ASSERT_FALSE(result.has_value());
    EXPECT_EQ(result.error().getErrorCodeEnum(), ErrorCodeEnum::CONNECTION_DNS_ERROR);
    EXPECT_EQ(result.error().getMessageFormatString(), "dns error: {0}");
    ASSERT_EQ(result.error().getMessageParameters().size(), 1U);
    EXPECT_FALSE(std::get<std::string>(result.error().getMessageParameters()[0]).empty());
}

TEST(HttpFetcher, ErrorReplyHasTheShapeOfAFailedReply)
{
    const json::object error{{"error_code", "JSON_MALFORMED"}, {"message", "json malformed: {0}"}};
    EXPECT_EQ(HttpFetcher::makeErrorJsonReply(json::object(error)),
              R"({"type":"REPLY","status":"FAILED","error":{"error_code":"JSON_MALFORMED","message":"json malformed: {0}"}})");
}
