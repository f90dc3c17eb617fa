#include "live_data_test_support.hpp"

#include "marlek_link_json/events/marleklinkeventhandler.hpp"
#include "marlek_link_json/jobs/common/live_data/liverows_json.hpp"
#include "marlek_link_json/jobs/dc/jobs/dcmeasurementjobfeatures.hpp"
#include "marlek_link_json/link_json_session.hpp"
#include "marlek_link_json/link_ll_session_flags.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <bit>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

using Rows = std::vector<std::vector<double>>;

// A LIVE_DATA_ROWS message as it arrives on the wire.
std::string rowsMessage(std::string_view data)
{
    return R"({"type":"EVENT","event":{"type":"LIVE_DATA_ROWS","data":)" + std::string(data) + "}}";
}

std::string headerMessage(std::string_view shortName, std::string_view dimensions, std::string_view units)
{
    return R"({"type":"EVENT","event":{"type":"LIVE_DATA_HEADER","header":{"measurement_type":"technique",)"
           R"("measurement_type_short":")" +
           std::string(shortName) + R"(","columns":{"dimensions":)" + std::string(dimensions) + R"(,"units":)" +
           std::string(units) + R"(}},"job_info":{"status":"RUNNING"}}})";
}

// A session that never connects: its dispatch is fed the text directly.
LinkJsonSession makeSession()
{
    return LinkJsonSession("127.0.0.1", "1", MarlekLinkConnectionFlags::NONE, "", "");
}

struct ReadCase {
    const char* name;
    const char* data;
};

class ReadLikeValueTo : public ::testing::TestWithParam<ReadCase> {};

} // namespace

// The reader replaces value_to on the live path: the same rows for what
// converts, the same error code for what does not, whatever the storage
// held before.
TEST_P(ReadLikeValueTo, GivesTheRowsOrTheErrorOfValueTo)
{
    const json::value data = parsePrecise(GetParam().data);
    Rows expected;
    boost::system::error_code expectedError;
    try {
        expected = json::value_to<Rows>(data);
    } catch (const boost::system::system_error& e) {
        expectedError = e.code();
    }
    for (Rows before : {Rows{}, Rows{{9.0, 9.0, 9.0, 9.0}}, Rows(6, std::vector<double>(7, 9.0))}) {
        try {
            readLiveRows(data, before);
            EXPECT_FALSE(expectedError) << "read although value_to fails with " << expectedError.message();
            EXPECT_EQ(before, expected);
        } catch (const boost::system::system_error& e) {
            EXPECT_EQ(e.code(), expectedError);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Data, ReadLikeValueTo,
    ::testing::Values(ReadCase{"Ragged", "[[1],[2.5,3,4],[],[5,6]]"}, ReadCase{"NoRows", "[]"},
                      ReadCase{"OneEmptyRow", "[[]]"},
                      ReadCase{"IntegerKinds", "[[-9223372036854775808,18446744073709551615,0,-0]]"},
                      ReadCase{"Wide", "[[1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20]]"},
                      ReadCase{"NotAList", R"({"0":[1]})"}, ReadCase{"RowNotAList", "[[1],2]"},
                      ReadCase{"TextCell", R"([[1,"2"]])"}, ReadCase{"BoolCell", "[[1],[true]]"},
                      ReadCase{"NullCell", "[[null]]"}, ReadCase{"ListCell", "[[1,[2]]]"}),
    [](const auto& info) { return std::string(info.param.name); });

// Every double a workstation can send must come back bit for bit, through
// the same parse the connection uses.
TEST(LiveRowsExactness, EveryDoubleReadsBackBitForBit)
{
    // Hexadecimal literals give the expected doubles without another parser.
    const std::vector<std::pair<const char*, double>> table{
        {"4.9406564584124654e-324", 0x0.0000000000001p-1022},  // smallest subnormal
        {"2.4703282292062328e-324", 0x0.0000000000001p-1022},  // just over half of it
        {"8.5e-323", 0x0.0000000000011p-1022},
        {"2.2250738585072009e-308", 0x0.fffffffffffffp-1022},  // largest subnormal
        {"2.2250738585072011e-308", 0x0.fffffffffffffp-1022},
        {"2.2250738585072014e-308", 0x1.0000000000000p-1022},  // smallest normal
        {"1.7976931348623157e+308", 0x1.fffffffffffffp+1023},  // largest
        {"-1.7976931348623157e308", -0x1.fffffffffffffp+1023},
        {"-0.0", -0.0},
        {"0", 0.0},
        {"0.10000000000000001", 0x1.999999999999ap-4},
        {"0.33333333333333331", 0x1.5555555555555p-2},
        {"9.0000000000000002e-06", 0x1.2dfd694ccab3fp-17},
        {"0.25039000000000001", 0x1.00663c74fb54ap-2},
        {"-9.5999999999999996e-05", -0x1.92a737110e454p-14},
        {"1.0000000000000002", 0x1.0000000000001p+0},
        {"0.99999999999999989", 0x1.fffffffffffffp-1},
        {"1e23", 0x1.52d02c7e14af6p+76},
        {"9007199254740993", 0x1.0000000000000p+53},  // an integer past 2^53
        {"123456789012345678901234567890", 0x1.8ee90ff6c373ep+96},
    };
    std::string data = "[[";
    for (const auto& [text, value] : table) {
        data += (data.size() > 2 ? "," : "") + std::string(text);
    }
    data += "]]";

    auto session = makeSession();
    Rows received;
    session.setEventHandler(MarlekLinkEventHandler::makeLiveDataRowsEventHandler(
        [&](const Rows& rows) { received = rows; }));
    session.dispatchIncommingJson(rowsMessage(data));

    ASSERT_EQ(received.size(), 1u);
    ASSERT_EQ(received[0].size(), table.size());
    for (std::size_t i = 0; i < table.size(); ++i) {
        EXPECT_EQ(std::bit_cast<std::uint64_t>(received[0][i]), std::bit_cast<std::uint64_t>(table[i].second))
            << table[i].first;
    }
}

namespace {

// Events of changing size in turn, so that storage kept from one event is
// refilled by the next with fewer and then more rows and cells.
const std::vector<std::pair<std::string, Rows>> changingEvents{
    {"[[1,2,3],[4,5,6],[7,8,9]]", {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}},
    {"[[10]]", {{10}}},
    {"[[11,12],[13,14,15,16,17],[],[18],[19,20,21]]", {{11, 12}, {13, 14, 15, 16, 17}, {}, {18}, {19, 20, 21}}},
    {"[[22,23]]", {{22, 23}}},
    {"[[24,25,26],[27,28,29]]", {{24, 25, 26}, {27, 28, 29}}},
};

} // namespace

TEST(LiveRowsStorage, RowsHandlerDeliversEachEventsRowsOnly)
{
    auto session = makeSession();
    std::vector<Rows> received;
    session.setEventHandler(MarlekLinkEventHandler::makeLiveDataRowsEventHandler(
        [&](const Rows& rows) { received.push_back(rows); }));
    for (const auto& [data, rows] : changingEvents) {
        session.dispatchIncommingJson(rowsMessage(data));
    }
    ASSERT_EQ(received.size(), changingEvents.size());
    for (std::size_t i = 0; i < changingEvents.size(); ++i) {
        EXPECT_EQ(received[i], changingEvents[i].second) << "event " << i;
    }
}

TEST(LiveRowsStorage, FailedEventLeavesNothingInTheNextOne)
{
    auto session = makeSession();
    std::vector<Rows> handlerRows;
    std::vector<Rows> jobRows;
    session.setEventHandler(MarlekLinkEventHandler::makeLiveDataRowsEventHandler(
        [&](const Rows& rows) { handlerRows.push_back(rows); }));
    DcMeasurementJobFeatures job(std::vector<DcMeasurementJobFeatures::Callback>{[&](const DcLiveDataMessage& message) {
        if (message.kind == DcLiveDataMessageKind::ROWS) {
            jobRows.push_back(*message.rows);
        }
    }});
    job.setEventHandlers(session);

    ::testing::internal::CaptureStderr();
    session.dispatchIncommingJson(rowsMessage("[[1,2,3],[4,5,6],[7,8,9]]"));
    session.dispatchIncommingJson(rowsMessage(R"([[10,11,12],[13,14,15],[16,"x"]])"));
    session.dispatchIncommingJson(rowsMessage("[[20],[21,22]]"));
    ::testing::internal::GetCapturedStderr();
    job.removeEventHandlers(session);

    const std::vector<Rows> expected{{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}, {{20}, {21, 22}}};
    EXPECT_EQ(handlerRows, expected);
    EXPECT_EQ(jobRows, expected);
}

TEST(LiveRowsStorage, JobRowsFollowTheirEventsAndTheLatestHeader)
{
    auto session = makeSession();
    struct Seen {
        DcLiveDataMessageKind kind;
        std::string header;
        std::size_t columns;
        Rows rows;
    };
    std::vector<Seen> seen;
    DcMeasurementJobFeatures job(std::vector<DcMeasurementJobFeatures::Callback>{[&](const DcLiveDataMessage& message) {
        seen.push_back({message.kind, message.header->getShortMeasurementType(), message.header->getColumns().size(),
                        *message.rows});
    }});
    job.setEventHandlers(session);

    session.dispatchIncommingJson(headerMessage("CV", R"(["time","voltage","current"])", R"(["s","V","A"])"));
    for (const auto& [data, rows] : changingEvents) {
        session.dispatchIncommingJson(rowsMessage(data));
    }
    session.dispatchIncommingJson(headerMessage("OCV", R"(["time","voltage"])", R"(["s","V"])"));
    session.dispatchIncommingJson(rowsMessage("[[30,31]]"));
    job.removeEventHandlers(session);

    ASSERT_EQ(seen.size(), changingEvents.size() + 3);
    EXPECT_EQ(seen[0].kind, DcLiveDataMessageKind::HEADER);
    EXPECT_TRUE(seen[0].rows.empty());
    for (std::size_t i = 0; i < changingEvents.size(); ++i) {
        EXPECT_EQ(seen[i + 1].kind, DcLiveDataMessageKind::ROWS);
        EXPECT_EQ(seen[i + 1].header, "CV");
        EXPECT_EQ(seen[i + 1].columns, 3u);
        EXPECT_EQ(seen[i + 1].rows, changingEvents[i].second) << "event " << i;
    }
    const Seen& header = seen[changingEvents.size() + 1];
    EXPECT_EQ(header.kind, DcLiveDataMessageKind::HEADER);
    EXPECT_EQ(header.header, "OCV");
    EXPECT_TRUE(header.rows.empty());
    const Seen& last = seen.back();
    EXPECT_EQ(last.header, "OCV");
    EXPECT_EQ(last.columns, 2u);
    EXPECT_EQ(last.rows, (Rows{{30, 31}}));
}

// A rows callback may dispatch rows of another session on its own thread;
// the rows it was given must outlast that.
TEST(LiveRowsStorage, NestedDispatchLeavesTheOuterRowsIntact)
{
    auto outer = makeSession();
    auto inner = makeSession();
    Rows innerRows;
    Rows outerBefore;
    Rows outerAfter;
    inner.setEventHandler(MarlekLinkEventHandler::makeLiveDataRowsEventHandler(
        [&](const Rows& rows) { innerRows = rows; }));
    outer.setEventHandler(MarlekLinkEventHandler::makeLiveDataRowsEventHandler([&](const Rows& rows) {
        outerBefore = rows;
        inner.dispatchIncommingJson(rowsMessage("[[7,8,9,10],[11]]"));
        outerAfter = rows;
    }));
    outer.dispatchIncommingJson(rowsMessage("[[1,2],[3,4],[5,6]]"));

    EXPECT_EQ(innerRows, (Rows{{7, 8, 9, 10}, {11}}));
    EXPECT_EQ(outerBefore, (Rows{{1, 2}, {3, 4}, {5, 6}}));
    EXPECT_EQ(outerAfter, outerBefore);
}

// One handler may serve several sessions, whose threads call it at once.
TEST(LiveRowsStorage, OneHandlerOnTwoThreadsKeepsTheirRowsApart)
{
    constexpr int events = 2000;
    std::atomic<int> mixed{0};
    std::atomic<int> delivered{0};
    // Every cell of an event holds its sender's number, so a mix-up shows.
    const auto handler = MarlekLinkEventHandler::makeLiveDataRowsEventHandler([&](const Rows& rows) {
        const double sender = rows.front().front();
        for (const auto& row : rows) {
            for (const double cell : row) {
                mixed += cell != sender ? 1 : 0;
            }
        }
        ++delivered;
    });
    auto first = makeSession();
    auto second = makeSession();
    first.setEventHandler(handler);
    second.setEventHandler(handler);
    auto feed = [](LinkJsonSession& session, const std::string& cell) {
        for (int i = 0; i < events; ++i) {
            std::string data = "[";
            for (int row = 0; row <= i % 7; ++row) {
                data += (row == 0 ? "[" : ",[") + cell;
                for (int column = 0; column < (i + row) % 5; ++column) {
                    data += "," + cell;
                }
                data += "]";
            }
            session.dispatchIncommingJson(rowsMessage(data + "]"));
        }
    };
    std::thread one(feed, std::ref(first), "1");
    std::thread two(feed, std::ref(second), "2");
    one.join();
    two.join();
    EXPECT_EQ(delivered.load(), 2 * events);
    EXPECT_EQ(mixed.load(), 0);
}
