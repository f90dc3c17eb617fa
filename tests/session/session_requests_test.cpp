#include "session_test_support.hpp"

#include "marlek_link_json/jobs/common/jobinfo.hpp"
#include "marlek_link_json/jobs/dc/jobs/dcmeasurementjobs.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <regex>
#include <set>
#include <thread>

using Mode = FakeReplyOverride::Mode;
using Connection = MarlekLinkConnectionStatusEnum;
using OcvJob = DcMeasurementJob<OcvParameters, &JobNames::OCV_JOB_NAME>;

namespace {

boost::json::object request(const char* command)
{
    return boost::json::object{{"do", command}};
}

} // namespace

TEST_F(ConnectedSession, EachReplyReachesOnlyItsOwnRequest)
{
    Inbox<boost::json::object> first;
    Inbox<boost::json::object> second;
    session->sendRequest(request("/id"), [&](const auto& reply) { first.push(reply); }, -1);
    session->sendRequest(request("/status"), [&](const auto& reply) { second.push(reply); }, -1);
    ASSERT_TRUE(first.waitForCount(1));
    ASSERT_TRUE(second.waitForCount(1));
    EXPECT_TRUE(first.snapshot()[0].contains("workstation"));
    EXPECT_TRUE(second.snapshot()[0].contains("workstation_status"));

    const auto ids = std::vector{router().requests("/id")[0].at("request_id").as_string(),
                                 router().requests("/status")[0].at("request_id").as_string()};
    const std::regex uuid("[0-9a-f]{8}-[0-9a-f]{4}-4[0-9a-f]{3}-[89ab][0-9a-f]{3}-[0-9a-f]{12}");
    for (const auto& id : ids) {
        EXPECT_TRUE(std::regex_match(std::string(id), uuid)) << id;
    }
    EXPECT_NE(ids[0], ids[1]);
    EXPECT_EQ(first.snapshot()[0].at("request_id"), ids[0]);
}

TEST_F(ConnectedSession, RequestIdReplacesAGivenOneAndNonFiniteNumbersAreSent)
{
    boost::json::object given{{"do", "/probe"}, {"request_id", "mine"}, {"value", std::nan("")}};
    given["infinite"] = -std::numeric_limits<double>::infinity();
    // Text that the fake cannot read as JSON gets no reply: the request times out.
    const auto reply = session->sendRequest(given, -1);
    EXPECT_EQ(replyCode(reply), ErrorCodeEnum::OPERATION_TIMED_OUT);
    const auto text = workstation.connections()[0].messages.at(0).bytes;
    EXPECT_TRUE(text.starts_with(R"({"do":"/probe","request_id":")")) << text;
    EXPECT_EQ(text.find("mine"), std::string::npos);
    EXPECT_NE(text.find(R"("value":NaN)"), std::string::npos) << text;
    EXPECT_NE(text.find(R"("infinite":-Infinity)"), std::string::npos) << text;
}

TEST_F(ConnectedSession, SilentWorkstationTimesOutAndTheLateReplyIsIgnored)
{
    FakeReplyOverride late;
    late.mode = Mode::Delayed;
    late.delay = 700ms;
    router().setReplyOverride("/id", late);
    Inbox<boost::json::object> replies;
    const auto started = std::chrono::steady_clock::now();
    session->sendRequest(request("/id"), [&](const auto& reply) { replies.push(reply); }, 0);
    ASSERT_TRUE(replies.waitForCount(1));
    const auto elapsed = std::chrono::steady_clock::now() - started;
    EXPECT_GE(elapsed, kRequestTimeout);
    EXPECT_LT(elapsed, kRequestTimeout + 500ms);
    const auto reply = replies.snapshot()[0];
    EXPECT_EQ(reply.at("status"), "FAILED");
    EXPECT_EQ(formatted(LinkJsonSession::getError(reply)), "operation timed out");
    EXPECT_EQ(reply.at("request_id"), router().requests("/id")[0].at("request_id"));

    // The real reply arrives after the time-out and reaches nobody.
    ASSERT_TRUE(workstation.waitForMessages(1, kWait));
    std::this_thread::sleep_for(700ms);
    EXPECT_EQ(replies.size(), 1u);
    EXPECT_TRUE(LinkJsonSession::wasSuccessful(session->sendRequest(request("/status"), -1)));
}

// Answered requests leave no timer running behind them: a short time-out set
// right after a burst of them still fires close to its setting.
TEST_F(ConnectedSession, ShortTimeOutRightAfterABurstOfAnsweredRequestsFiresOnTime)
{
    constexpr std::size_t kBurst = 20000;
    // Within the send queue's capacity, so that nothing is refused.
    constexpr std::size_t kBatch = 500;
    session->setRequestTimeout(1s);
    Inbox<bool> answers;
    for (std::size_t sent = 0; sent < kBurst; sent += kBatch) {
        for (std::size_t i = 0; i < kBatch; ++i) {
            session->sendRequest(request("/status"),
                                 [&](const auto& reply) { answers.push(LinkJsonSession::wasSuccessful(reply)); }, -1);
        }
        ASSERT_TRUE(answers.waitForCount(sent + kBatch, 30s)) << sent;
    }
    const auto all = answers.snapshot();
    EXPECT_EQ(std::count(all.begin(), all.end(), true), std::ptrdiff_t(kBurst));

    router().setReplyOverride("/id", {.mode = Mode::NoReply});
    constexpr auto kShort = 200ms;
    const auto started = std::chrono::steady_clock::now();
    const auto reply = session->sendRequest(request("/id"), int(kShort.count()));
    const auto elapsed = std::chrono::steady_clock::now() - started;
    EXPECT_EQ(replyCode(reply), ErrorCodeEnum::OPERATION_TIMED_OUT);
    EXPECT_GE(elapsed, kShort);
    // Generous for a loaded machine, and still far below the second that the
    // burst's own time-outs would hold the watchdog if they were left running.
    EXPECT_LT(elapsed, kShort + 700ms);
}

TEST_F(ConnectedSession, GivenTimeOutOverridesTheSessionsOne)
{
    router().setReplyOverride("/id", {.mode = Mode::NoReply});
    const auto started = std::chrono::steady_clock::now();
    const auto reply = session->sendRequest(request("/id"), 100);
    const auto elapsed = std::chrono::steady_clock::now() - started;
    EXPECT_EQ(replyCode(reply), ErrorCodeEnum::OPERATION_TIMED_OUT);
    EXPECT_GE(elapsed, 100ms);
    EXPECT_LT(elapsed, kRequestTimeout);
}

struct StrayReplyCase {
    const char* name;
    FakeReplyOverride override;
    ErrorCodeEnum expected;
};

class StrayReplies : public ConnectedSession, public ::testing::WithParamInterface<StrayReplyCase> {};

TEST_P(StrayReplies, ReachTheRequestAtMostOnce)
{
    router().setReplyOverride("/status", GetParam().override);
    Inbox<boost::json::object> replies;
    session->sendRequest(request("/status"), [&](const auto& reply) { replies.push(reply); }, -1);
    ASSERT_TRUE(replies.waitForCount(1));
    std::this_thread::sleep_for(kRequestTimeout + 200ms);
    ASSERT_EQ(replies.size(), 1u);
    const auto reply = replies.snapshot()[0];
    if (GetParam().expected == ErrorCodeEnum::NONE) {
        EXPECT_TRUE(LinkJsonSession::wasSuccessful(reply));
    } else {
        EXPECT_EQ(replyCode(reply), GetParam().expected);
    }
    // The connection survives whatever came in.
    EXPECT_TRUE(LinkJsonSession::wasSuccessful(session->sendRequest(request("/id"), -1)));
}

INSTANTIATE_TEST_SUITE_P(
    Replies, StrayReplies,
    ::testing::Values(
        StrayReplyCase{"twice", {.mode = Mode::Twice}, ErrorCodeEnum::NONE},
        StrayReplyCase{"foreign_id", {.mode = Mode::ForeignRequestId}, ErrorCodeEnum::OPERATION_TIMED_OUT},
        StrayReplyCase{"raw_text", {.mode = Mode::RawText, .rawText = "{not json"},
                       ErrorCodeEnum::OPERATION_TIMED_OUT},
        StrayReplyCase{"without_status", {.mode = Mode::WithoutStatus}, ErrorCodeEnum::UNKNOWN_ERR},
        StrayReplyCase{"failed",
                       {.mode = Mode::Failed, .error = ErrorObject(ErrorCodeEnum::ID_NOT_FOUND, "gone {0}", "x")},
                       ErrorCodeEnum::ID_NOT_FOUND}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ConnectedSession, DroppedConnectionFailsEveryPendingRequestBeforeTheStatusChange)
{
    router().setReplyOverride("/id", {.mode = Mode::NoReply});
    session->setRequestTimeout(60s);
    // Shared with the callbacks: the session outlives this test's body. The
    // CONNECTED report of the connect may still come in after connect has
    // returned; only the loss matters here.
    const auto events = std::make_shared<Inbox<std::string>>();
    session->setConnectionStatusCallback([events](Connection status) {
        if (status == Connection::DISCONNECTED) {
            events->push("disconnected");
        }
    });
    for (int i = 0; i < 3; ++i) {
        session->sendRequest(request("/id"), [events](const auto& reply) {
            events->push(formatted(LinkJsonSession::getError(reply)));
        }, -1);
    }
    ASSERT_TRUE(workstation.waitForMessages(3, kWait));
    workstation.dropConnection();
    // The drop is noticed once all three loops of the connection ended.
    ASSERT_TRUE(events->waitForCount(4, 8s));
    const auto seen = events->snapshot();
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(seen[i], "network connection closed by remote peer");
    }
    EXPECT_EQ(seen[3], "disconnected");

    // The queue is closed now: a request fails at once.
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(replyCode(session->sendRequest(request("/id"), -1)), ErrorCodeEnum::CONNECTION_BROKEN);
    EXPECT_LT(std::chrono::steady_clock::now() - started, 1s);
}

TEST_F(ConnectedSession, DisconnectWithPendingRequestsReturnsPromptly)
{
    router().setReplyOverride("/id", {.mode = Mode::NoReply});
    session->setRequestTimeout(60s);
    session->setBinaryFrameTimeoutForTesting(120s);
    Inbox<ErrorCodeEnum> codes;
    for (int i = 0; i < 5; ++i) {
        session->sendRequest(request("/id"), [&](const auto& reply) { codes.push(replyCode(reply)); }, -1);
    }
    session->setPendingDownload(std::make_shared<LinkJsonSession::DownloadCallback>(
        [&](std::string&&, std::optional<ErrorObject> error) { codes.push(error.value_or(ErrorObject()).getErrorCodeEnum()); }));
    ASSERT_TRUE(workstation.waitForMessages(5, kWait));

    const auto started = std::chrono::steady_clock::now();
    session->disconnect();
    EXPECT_LT(std::chrono::steady_clock::now() - started, 1s);
    ASSERT_EQ(codes.size(), 6u);
    for (const auto code : codes.snapshot()) {
        EXPECT_EQ(code, ErrorCodeEnum::CONNECTION_WAS_CLOSED);
    }
}

TEST_F(ConnectedSession, CancellationFailsRequestsJobsOperationsAndDownloadInThisOrder)
{
    router().setReplyOverride("/id", {.mode = Mode::NoReply});
    session->setRequestTimeout(60s);
    Inbox<std::string> calls;
    boost::json::object requestReply;
    boost::json::object jobCompletion;
    session->sendRequest(request("/id"), [&](const auto& reply) {
        requestReply = reply;
        calls.push("request");
    }, -1);
    const boost::json::string jobRequestId = "job-request";
    session->addPendingJob(jobRequestId, [&](const auto& completion) {
        jobCompletion = completion;
        calls.push("job");
    }, nullptr);
    auto operation = std::make_shared<LinkJsonSession::PendingOperation>([&](LinkJsonSession::CancellationReason reason) {
        calls.push(reason == LinkJsonSession::CancellationReason::CANCELLED_BY_USER ? "operation" : "wrong reason");
    });
    session->addPendingOperation(operation);
    session->addPendingOperation(operation);
    ErrorObject downloadError;
    session->setPendingDownload(std::make_shared<LinkJsonSession::DownloadCallback>(
        [&](std::string&& content, std::optional<ErrorObject> error) {
            downloadError = error.value_or(ErrorObject());
            calls.push(content.empty() ? "download" : "download with content");
        }));
    ASSERT_TRUE(workstation.waitForMessages(1, kWait));

    session->cancelPendingOperations();
    EXPECT_EQ(calls.snapshot(), (std::vector<std::string>{"request", "job", "operation", "download"}));
    EXPECT_EQ(formatted(LinkJsonSession::getError(requestReply)), "manually stopped");
    EXPECT_EQ(codeOf(downloadError), ErrorCodeEnum::STOPPED_MANUALLY);
    EXPECT_EQ(downloadError.getMessageFormatString(), "manually stopped");

    const auto expectedError = boost::json::value_from(ErrorObject(ErrorCodeEnum::STOPPED_MANUALLY, "manually stopped"));
    const boost::json::object expectedCompletion{
        {"type", "JOB_DONE"},
        {"error", expectedError},
        {"request_id", "job-request"},
        {"job_info",
         {{"job_id", "void"}, {"status", "FAILED"}, {"status_detail", "STOPPED_BY_USER"}, {"error", expectedError}}},
    };
    EXPECT_EQ(boost::json::serialize(jobCompletion), boost::json::serialize(expectedCompletion));
    EXPECT_EQ(requestReply.size(), 4u);

    // Everything was emptied; the session goes on working.
    session->cancelPendingOperations();
    EXPECT_EQ(calls.size(), 4u);
    router().clearReplyOverrides();
    EXPECT_TRUE(LinkJsonSession::wasSuccessful(session->sendRequest(request("/id"), -1)));
}

TEST_F(ConnectedSession, CallbacksThatThrowDuringCancellationAreContained)
{
    router().setReplyOverride("/id", {.mode = Mode::NoReply});
    session->setRequestTimeout(60s);
    Inbox<int> reached;
    session->sendRequest(request("/id"), [](const auto&) { throw std::runtime_error("request callback"); }, -1);
    session->sendRequest(request("/id"), [&](const auto&) { reached.push(1); }, -1);
    session->addPendingOperation(std::make_shared<LinkJsonSession::PendingOperation>(
        [](LinkJsonSession::CancellationReason) { throw std::runtime_error("operation"); }));
    ASSERT_TRUE(workstation.waitForMessages(2, kWait));
    session->cancelPendingOperations();
    EXPECT_EQ(reached.size(), 1u);
    // No lock was left held.
    session->cancelPendingOperations();
    router().clearReplyOverrides();
    EXPECT_TRUE(LinkJsonSession::wasSuccessful(session->sendRequest(request("/id"), -1)));
}

TEST_F(ConnectedSession, ReplyCallbackThatThrowsDoesNotEndTheConnection)
{
    Inbox<int> done;
    session->sendRequest(request("/id"), [&](const auto&) {
        done.push(1);
        throw std::runtime_error("reply callback");
    }, -1);
    ASSERT_TRUE(done.waitForCount(1));
    EXPECT_TRUE(LinkJsonSession::wasSuccessful(session->sendRequest(request("/status"), -1)));
    EXPECT_EQ(session->getConnectionStatus(), Connection::CONNECTED);
}

TEST_F(ConnectedSession, ConcurrentSendersGetDistinctIdsAndTheirOwnReplies)
{
    std::vector<std::thread> senders;
    std::atomic<int> successes{0};
    for (int t = 0; t < 4; ++t) {
        senders.emplace_back([&] {
            for (int i = 0; i < 25; ++i) {
                if (LinkJsonSession::wasSuccessful(session->sendRequest(request("/status"), 2000))) {
                    ++successes;
                }
            }
        });
    }
    for (auto& sender : senders) {
        sender.join();
    }
    EXPECT_EQ(successes.load(), 100);
    std::set<std::string> ids;
    for (const auto& sent : router().requests("/status")) {
        ids.insert(std::string(sent.at("request_id").as_string()));
    }
    EXPECT_EQ(ids.size(), 100u);
}

struct ReplyReadingCase {
    const char* json;
    bool successful;
    ErrorCodeEnum code;
};

class ReplyReading : public ::testing::TestWithParam<ReplyReadingCase> {};

TEST_P(ReplyReading, StatusMustBeExactlySuccessAndErrorFallsBackToUnknown)
{
    const auto reply = boost::json::parse(GetParam().json).as_object();
    EXPECT_EQ(LinkJsonSession::wasSuccessful(reply), GetParam().successful);
    EXPECT_EQ(codeOf(LinkJsonSession::getError(reply)), GetParam().code);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, ReplyReading,
    ::testing::Values(ReplyReadingCase{R"({"status":"SUCCESS"})", true, ErrorCodeEnum::UNKNOWN_ERR},
                      ReplyReadingCase{R"({"status":"success"})", false, ErrorCodeEnum::UNKNOWN_ERR},
                      ReplyReadingCase{R"({"status":1})", false, ErrorCodeEnum::UNKNOWN_ERR},
                      ReplyReadingCase{R"({})", false, ErrorCodeEnum::UNKNOWN_ERR},
                      ReplyReadingCase{R"({"status":"FAILED","error":"text"})", false, ErrorCodeEnum::UNKNOWN_ERR},
                      ReplyReadingCase{R"({"status":"FAILED","error":{"number":4096,"code":"CONNECTION_NOT_ESTABLISHED",
                                          "message":"m","message_parameters":[]}})",
                                       false, ErrorCodeEnum::CONNECTION_NOT_ESTABLISHED}));

TEST(SessionRequests, MadeUpFailuresHaveTheirFixedTexts)
{
    LinkJsonSession session("127.0.0.1", "1", MarlekLinkConnectionFlags::NONE, "", "");
    const auto reply = session.sendRequest(request("/id"), -1);
    const auto expected = boost::json::object{
        {"type", "REPLY"},
        {"request_id", reply.at("request_id")},
        {"status", "FAILED"},
        {"error", boost::json::value_from(ErrorObject(ErrorCodeEnum::CONNECTION_NOT_ESTABLISHED,
                                                      "no network connection has been established yet"))},
    };
    EXPECT_EQ(boost::json::serialize(reply), boost::json::serialize(expected));
    EXPECT_EQ(reply.at("request_id").as_string().size(), 36u);
}

TEST_F(ConnectedSession, ConnectionLossEndsUnansweredStartsThroughTheirRequestAndAcceptedJobsWithConnectionLoss)
{
    router().setReplyOverride("/job/start", {.mode = Mode::NoReply});
    session->setRequestTimeout(60s);
    OcvJob accepted{OcvParameters{}};
    JobInfo info;
    info.jobId = "job-0007";
    accepted.setLastJobInfo(info);

    Inbox<boost::json::object> completions;
    const boost::json::string unanswered = "start-1";
    session->addPendingJob(unanswered, [&](const auto& completion) { completions.push(completion); }, nullptr);
    session->addPendingJob("start-2", [&](const auto& completion) { completions.push(completion); }, &accepted);
    // Stands in for the start request of the first job: its failed reply ends
    // that job, taking the jobs lock inside the requests lock.
    session->sendRawRequest(unanswered, R"({"do":"/job/start","request_id":"start-1"})",
                            [&](const boost::json::object& reply) {
                                session->resolvePendingJob(unanswered, boost::json::object{
                                    {"type", "JOB_DONE"}, {"request_id", unanswered}, {"error", reply.at("error")}});
                            },
                            60000);
    ASSERT_TRUE(workstation.waitForMessages(1, kWait));
    workstation.dropConnection();
    ASSERT_TRUE(completions.waitForCount(2, 8s));
    const auto seen = completions.snapshot();
    EXPECT_EQ(seen[0].at("request_id"), "start-1");
    EXPECT_EQ(replyCode(seen[0]), ErrorCodeEnum::CONNECTION_WAS_CLOSED);
    EXPECT_FALSE(seen[0].contains("job_info"));
    EXPECT_EQ(seen[1].at("request_id"), "start-2");
    EXPECT_EQ(seen[1].at("job_info").at("job_id"), "job-0007");
    EXPECT_EQ(seen[1].at("job_info").at("status_detail"), "CONNECTION_LOSS");
    EXPECT_EQ(formatted(LinkJsonSession::getError(seen[1].at("job_info").as_object())),
              "network connection closed by remote peer");
}
