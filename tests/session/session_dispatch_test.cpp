#include "session_test_support.hpp"

#include "marlek_link_json/events/marleklinkeventhandler.hpp"

namespace {

using RawCallback = LinkJsonSession::EventCallback;

// A session that never connects: dispatch is fed with text directly.
class Dispatch : public ::testing::Test {
protected:
    std::shared_ptr<RawCallback> recorder(std::vector<boost::json::object>& into)
    {
        return std::make_shared<RawCallback>([&into](const boost::json::object& event) { into.push_back(event); });
    }

    LinkJsonSession session{"127.0.0.1", "1", MarlekLinkConnectionFlags::NONE, "", ""};
};

struct ConsoleCase {
    const char* name;
    const char* text;
    const char* stderrStart; // empty: nothing on the standard error stream
    const char* stdoutText;  // exact
};

class DispatchConsole : public Dispatch, public ::testing::WithParamInterface<ConsoleCase> {};

} // namespace

TEST_P(DispatchConsole, WritesOneLineForWhatCannotBeRouted)
{
    std::vector<boost::json::object> events;
    session.setEventHandler(EventTypeEnum::LIVE_DATA_ROWS, recorder(events));
    ::testing::internal::CaptureStderr();
    ::testing::internal::CaptureStdout();
    session.dispatchIncommingJson(GetParam().text);
    const std::string out = ::testing::internal::GetCapturedStdout();
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_TRUE(err.starts_with(GetParam().stderrStart)) << err;
    if (*GetParam().stderrStart) {
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    } else {
        EXPECT_EQ(err, "");
    }
    EXPECT_EQ(out, GetParam().stdoutText);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, DispatchConsole,
    ::testing::Values(
        ConsoleCase{"not_json", "{", "issue parsing incomming json ", ""},
        ConsoleCase{"array", "[1,2]", "missing property 'type'\n", ""},
        ConsoleCase{"no_type", R"({"x":1})", "missing property 'type'\n", ""},
        ConsoleCase{"numeric_type", R"({"type":3})", "missing property 'type'\n", ""},
        ConsoleCase{"unknown_type", R"({"type":"PING\"x"})", "", "received unknown type\"PING\\\"x\"\n"},
        ConsoleCase{"lenient_syntax",
                    R"({"type":"EVENT", /* c */ "event":{"type":"LIVE_DATA_ROWS","data":[[NaN,],]},})", "", ""},
        ConsoleCase{"too_deep", R"({"type":"EVENT","event":[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[1]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]})",
                    "issue parsing incomming json ", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Dispatch, EventsReachEveryCallbackOfTheirExactType)
{
    std::vector<boost::json::object> rows;
    std::vector<boost::json::object> moreRows;
    std::vector<boost::json::object> headers;
    session.setEventHandler(EventTypeEnum::LIVE_DATA_ROWS, recorder(rows));
    session.setEventHandler(EventTypeEnum::LIVE_DATA_ROWS, recorder(moreRows));
    session.setEventHandler(EventTypeEnum::LIVE_DATA_HEADER, recorder(headers));

    session.dispatchIncommingJson(R"({"type":"EVENT","event":{"type":"LIVE_DATA_ROWS","data":[[1.5,NaN]]}})");
    session.dispatchIncommingJson(R"({"type":"EVENT","event":{"type":"live_data_rows","data":[]}})");
    session.dispatchIncommingJson(R"({"type":"EVENT","event":{"data":[]}})");
    session.dispatchIncommingJson(R"({"type":"EVENT","event":[1]})");
    session.dispatchIncommingJson(R"({"type":"EVENT"})");

    ASSERT_EQ(rows.size(), 1u);
    ASSERT_EQ(moreRows.size(), 1u);
    EXPECT_TRUE(headers.empty());
    EXPECT_EQ(rows[0].at("type"), "LIVE_DATA_ROWS");
    EXPECT_EQ(rows[0].at("data").as_array()[0].as_array()[0], 1.5);
    EXPECT_TRUE(std::isnan(rows[0].at("data").as_array()[0].as_array()[1].as_double()));
}

TEST_F(Dispatch, JobDoneReachesTheJobAndThenTheJobDoneCallbacksWithTheWholeMessage)
{
    std::vector<std::string> order;
    std::vector<boost::json::object> completions;
    session.addPendingJob("r-1", [&](const boost::json::object&) { order.push_back("job"); }, nullptr);
    session.setEventHandler(EventTypeEnum::JOB_DONE, std::make_shared<RawCallback>([&](const boost::json::object& m) {
                                order.push_back("handler");
                                completions.push_back(m);
                            }));

    session.dispatchIncommingJson(R"({"type":"JOB_DONE","request_id":"r-1","job_info":{"job_id":"j"}})");
    session.dispatchIncommingJson(R"({"type":"JOB_DONE","request_id":"r-1","job_info":{"job_id":"j"}})");
    session.dispatchIncommingJson(R"({"type":"JOB_DONE","request_id":"other-client"})");
    session.dispatchIncommingJson(R"({"type":"JOB_DONE","job_info":{}})");
    session.dispatchIncommingJson(R"({"type":"JOB_DONE","request_id":7})");

    EXPECT_EQ(order, (std::vector<std::string>{"job", "handler", "handler", "handler"}));
    ASSERT_EQ(completions.size(), 3u);
    EXPECT_EQ(completions[0].at("type"), "JOB_DONE");
    EXPECT_EQ(completions[2].at("request_id"), "other-client");
}

TEST_F(Dispatch, RepliesWithoutStringIdReachNobody)
{
    // Without a connection nothing times out: the request stays pending
    // until a reply resolves it.
    std::vector<boost::json::object> replies;
    session.addPendingRequest("id-1", [&](const boost::json::object& reply) { replies.push_back(reply); }, 1000);
    session.dispatchIncommingJson(R"({"type":"REPLY","request_id":1,"status":"SUCCESS"})");
    session.dispatchIncommingJson(R"({"type":"REPLY","status":"SUCCESS"})");
    session.dispatchIncommingJson(R"({"type":"REPLY","request_id":"id-2","status":"SUCCESS"})");
    EXPECT_TRUE(replies.empty());
    session.dispatchIncommingJson(R"({"type":"REPLY","request_id":"id-1","status":"SUCCESS","x":1})");
    session.dispatchIncommingJson(R"({"type":"REPLY","request_id":"id-1","status":"FAILED"})");
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0].at("x"), 1);
}

TEST_F(Dispatch, HandlerObjectsRegisterOnceAndClearAlone)
{
    std::vector<boost::json::object> fromObject;
    std::vector<boost::json::object> fromRaw;
    auto handler = std::make_shared<MarlekLinkEventHandler>(EventTypeEnum::MESSAGE_FROM_SERVER, recorder(fromObject));
    EXPECT_EQ(handler->getEventType(), EventTypeEnum::MESSAGE_FROM_SERVER);
    session.setEventHandler(EventTypeEnum::MESSAGE_FROM_SERVER, recorder(fromRaw));

    ::testing::internal::CaptureStderr();
    session.setEventHandler(handler);
    session.setEventHandler(handler);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "event handler already set\n");

    const char* message = R"({"type":"EVENT","event":{"type":"MESSAGE_FROM_SERVER","message":{}}})";
    session.dispatchIncommingJson(message);
    EXPECT_EQ(fromObject.size(), 1u);
    EXPECT_EQ(fromRaw.size(), 1u);

    session.clearEventHandler(handler);
    session.dispatchIncommingJson(message);
    EXPECT_EQ(fromObject.size(), 1u);
    EXPECT_EQ(fromRaw.size(), 2u);

    // The same object registers again and keeps working.
    session.setEventHandler(handler);
    session.dispatchIncommingJson(message);
    EXPECT_EQ(fromObject.size(), 2u);
}

TEST_F(Dispatch, SameRawCallbackCountsOncePerTypeAndClearsByIdentity)
{
    std::vector<boost::json::object> seen;
    auto callback = recorder(seen);
    session.setEventHandler(EventTypeEnum::LIVE_DATA_WAVES, callback);
    session.setEventHandler(EventTypeEnum::LIVE_DATA_WAVES, callback);
    session.setEventHandler(EventTypeEnum::LIVE_DATA_FINISHED, callback);
    session.dispatchIncommingJson(R"({"type":"EVENT","event":{"type":"LIVE_DATA_WAVES"}})");
    EXPECT_EQ(seen.size(), 1u);
    session.clearEventHandler(EventTypeEnum::LIVE_DATA_WAVES, callback);
    session.clearEventHandler(EventTypeEnum::JOB_STATUS_UPDATE, callback);
    session.dispatchIncommingJson(R"({"type":"EVENT","event":{"type":"LIVE_DATA_WAVES"}})");
    session.dispatchIncommingJson(R"({"type":"EVENT","event":{"type":"LIVE_DATA_FINISHED"}})");
    EXPECT_EQ(seen.size(), 2u);
}

TEST_F(Dispatch, ThrowingCallbacksCostOneLineAndLeaveNoLockHeld)
{
    std::vector<boost::json::object> seen;
    session.setEventHandler(EventTypeEnum::JOB_STATUS_UPDATE, std::make_shared<RawCallback>([](const auto&) {
                                throw std::runtime_error("bad content");
                            }));
    session.setEventHandler(EventTypeEnum::JOB_STATUS_UPDATE, recorder(seen));
    session.addPendingRequest("id-1", [](const auto&) { throw std::runtime_error("reply"); }, 1000);

    ::testing::internal::CaptureStderr();
    session.dispatchIncommingJson(R"({"type":"EVENT","event":{"type":"JOB_STATUS_UPDATE"}})");
    session.dispatchIncommingJson(R"({"type":"REPLY","request_id":"id-1"})");
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 2) << err;
    EXPECT_EQ(seen.size(), 1u);

    // Every table can still be taken.
    session.setEventHandler(EventTypeEnum::JOB_STATUS_UPDATE, recorder(seen));
    session.cancelPendingOperations();
}

TEST_F(Dispatch, BinaryMessagesReachOnlyAPendingDownloadOnce)
{
    session.dispatchIncommingBinary("dropped");
    std::vector<std::string> received;
    auto receiver = std::make_shared<LinkJsonSession::DownloadCallback>(
        [&](std::string&& content, std::optional<ErrorObject> error) {
            EXPECT_FALSE(error.has_value());
            received.push_back(std::move(content));
        });
    session.setPendingDownload(receiver);
    session.dispatchIncommingBinary(std::string("\x00\x01\x02", 3));
    session.dispatchIncommingBinary("second");
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0], std::string("\x00\x01\x02", 3));

    session.setPendingDownload(receiver);
    session.deletePendingDownload();
    session.dispatchIncommingBinary("after delete");
    EXPECT_EQ(received.size(), 1u);
}

TEST_F(Dispatch, ThrowingDownloadReceiverIsContainedAndCleared)
{
    int calls = 0;
    session.setPendingDownload(std::make_shared<LinkJsonSession::DownloadCallback>([&](std::string&&, auto) {
        ++calls;
        throw std::runtime_error("receiver");
    }));
    ::testing::internal::CaptureStderr();
    session.dispatchIncommingBinary("data");
    session.dispatchIncommingBinary("data");
    ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(calls, 1);
}

TEST(EventTypeNames, ReadExactlyAndCaseSensitively)
{
    EXPECT_EQ(eventTypeFromName("LIVE_DATA_ROW_EIS"), EventTypeEnum::LIVE_DATA_ROW_EIS);
    EXPECT_EQ(eventTypeFromName("UNKNOWN"), EventTypeEnum::UNKNOWN);
    EXPECT_EQ(eventTypeFromName("JOB_DONE"), EventTypeEnum::JOB_DONE);
    EXPECT_FALSE(eventTypeFromName("job_done").has_value());
    EXPECT_FALSE(eventTypeFromName("JOB_DONE ").has_value());
    EXPECT_EQ(eventTypeName(EventTypeEnum::LIVE_DATA_FINISHED), "LIVE_DATA_FINISHED");
}
