#include "live_data_test_support.hpp"

#include "marlek_link_json/jobs/common/live_data/eventjsonhelpers.hpp"

#include <string>

struct EventTypeCase {
    const char* message;
    const char* eventType;
    bool expected;
};

class IsEventOfType : public ::testing::TestWithParam<EventTypeCase> {};

TEST_P(IsEventOfType, Decides)
{
    boost::system::error_code ec;
    EXPECT_EQ(isEventOfType(ec, parsePrecise(GetParam().message), GetParam().eventType), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IsEventOfType,
    ::testing::Values(
        EventTypeCase{R"({"type":"EVENT","event":{"type":"LIVE_DATA_ROWS"}})", "LIVE_DATA_ROWS", true},
        EventTypeCase{R"({"type":"EVENT","event":{"type":"LIVE_DATA_ROWS"}})", "LIVE_DATA_HEADER", false},
        EventTypeCase{R"({"type":"EVENT","event":{"type":"live_data_rows"}})", "LIVE_DATA_ROWS", false},
        EventTypeCase{R"({"type":"EVENT","event":{"type":"LIVE_DATA_ROWS "}})", "LIVE_DATA_ROWS", false},
        EventTypeCase{R"({"type":"REPLY","event":{"type":"LIVE_DATA_ROWS"}})", "LIVE_DATA_ROWS", false},
        EventTypeCase{R"({"type":"event","event":{"type":"LIVE_DATA_ROWS"}})", "LIVE_DATA_ROWS", false},
        EventTypeCase{R"({"type":"EVENT","event":{"type":7}})", "LIVE_DATA_ROWS", false},
        EventTypeCase{R"({"type":["EVENT"],"event":{"type":"LIVE_DATA_ROWS"}})", "LIVE_DATA_ROWS", false},
        EventTypeCase{R"({"type":"EVENT","event":"LIVE_DATA_ROWS"})", "LIVE_DATA_ROWS", false},
        EventTypeCase{R"({"type":"EVENT"})", "LIVE_DATA_ROWS", false},
        EventTypeCase{R"({"event":{"type":"LIVE_DATA_ROWS"}})", "LIVE_DATA_ROWS", false},
        EventTypeCase{R"(["EVENT"])", "LIVE_DATA_ROWS", false}, EventTypeCase{"null", "LIVE_DATA_ROWS", false}));

TEST(IsEventOfType, ReportsTheFailedLookupAndClearsOnSuccess)
{
    boost::system::error_code ec;
    EXPECT_FALSE(isEventOfType(ec, parsePrecise(R"({"type":"EVENT"})"), "LIVE_DATA_ROWS"));
    EXPECT_TRUE(ec.failed());
    EXPECT_TRUE(isEventOfType(ec, parsePrecise(R"({"type":"EVENT","event":{"type":"X"}})"), "X"));
    EXPECT_FALSE(ec.failed());
}

TEST(FindObjectInEvent, FindsThePointerOnlyIntheRightEvent)
{
    const auto message = parsePrecise(
        R"({"type":"EVENT","event":{"type":"LIVE_DATA_FINISHED","job_info":{"job_id":"job-0001"}}})");
    const auto* found = findObjectInEvent(message, "LIVE_DATA_FINISHED", "/event/job_info/job_id");
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(*found, "job-0001");
    EXPECT_EQ(findObjectInEvent(message, "LIVE_DATA_FINISHED", "/event/header"), nullptr);
    EXPECT_EQ(findObjectInEvent(message, "LIVE_DATA_FINISHED", "not a pointer"), nullptr);
    EXPECT_EQ(findObjectInEvent(message, "LIVE_DATA_HEADER", "/event/job_info"), nullptr);

    const auto reply = parsePrecise(R"({"type":"REPLY","event":{"type":"LIVE_DATA_FINISHED","job_info":{}}})");
    EXPECT_EQ(findObjectInEvent(reply, "LIVE_DATA_FINISHED", "/event/job_info"), nullptr);
}
