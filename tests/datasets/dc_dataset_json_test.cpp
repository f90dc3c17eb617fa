#include "dataset_test_support.hpp"

#include "marlek_json_common/json_common/protocol/livedataheader_json.hpp"
#include "marlek_json_common/json_common/text/base64.hpp"
#include "marlek_link_json/jobs/common/jobinfo_json.hpp"
#include "marlek_link_json/jobs/dc/dataset/base64_decode.hpp"
#include "marlek_link_json/jobs/dc/dataset/dc_dataset_binary.hpp"
#include "marlek_link_json/jobs/dc/dataset/dc_dataset_json.hpp"

#include <boost/json.hpp>
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace json = boost::json;
using namespace dataset_test;

namespace {

json::object event(std::string_view type, json::object body)
{
    body["type"] = type;
    return json::object{{"type", "EVENT"}, {"event", std::move(body)}};
}

json::object headerEvent(const LiveDataHeader& header)
{
    return event("LIVE_DATA_HEADER", {{"header", json::value_from(header)}});
}

json::object rowsEvent(json::value data)
{
    return event("LIVE_DATA_ROWS", {{"data", std::move(data)}});
}

json::object finishedEvent(const std::string& jobId)
{
    JobInfo info = jobWithId(jobId);
    info.status = JobStatusEnum::FINISHED;
    return event("LIVE_DATA_FINISHED", {{"job_info", jobInfoToJson(info)}});
}

// The recorded event array of a dataset, as the workstation sends it.
json::array eventArrayOf(const DcDataset& dataset)
{
    const auto table = dcDatasetToBinary(dataset);
    EXPECT_TRUE(table.has_value());
    return json::array{headerEvent(dataset.getHeader()), rowsEvent(json::string(base64::encode(table.value_or("")))),
                       finishedEvent(dataset.getJobInfo().jobId)};
}

LiveDataHeader twoColumns()
{
    return LiveDataHeader("Open Circuit", "OCV", {timeColumn(), voltageColumn()});
}

DcDataset readDc(const json::value& events)
{
    return json::value_to<DcDataset>(events);
}

bool isEmptyDefault(const DcDataset& ds)
{
    return ds.getHeader().getColumns().empty() && ds.getTracks().empty() && ds.getJobInfo().jobId.empty();
}

} // namespace

TEST(DcBase64, DecodedSizeFollowsTheLengthAndFinalPadding)
{
    struct Case {
        std::string_view text;
        std::optional<std::size_t> size;
    };
    for (const auto& c : {
             Case{"", 0},
             Case{"AQID", 3},
             Case{"AQI=", 2},
             Case{"AQ==", 1},
             Case{"AQIDBAUG", 6},
             Case{"AQI", std::nullopt},
             Case{"AQIDB", std::nullopt},
         }) {
        EXPECT_EQ(decodedBase64Size(c.text), c.size) << c.text;
    }
}

TEST(DcBase64, DecodesWithoutCheckingTheCharacters)
{
    using Bytes = std::vector<std::uint8_t>;
    EXPECT_EQ(decodeBase64(""), Bytes{});
    EXPECT_EQ(decodeBase64(base64::encode("\x01\x02\x03")), (Bytes{1, 2, 3}));
    EXPECT_EQ(decodeBase64("AQI="), (Bytes{1, 2}));
    EXPECT_EQ(decodeBase64("AQ=="), (Bytes{1}));
    EXPECT_EQ(decodeBase64("+/+/"), (Bytes{0xFB, 0xFF, 0xBF}));
    // A byte outside the alphabet enters the arithmetic as 0xFF.
    EXPECT_EQ(decodeBase64("QU!D"), (Bytes{0x41, 0x7F, 0xC3}));
}

TEST(DcBase64, ALengthThatIsNoMultipleOfFourThrows)
{
    for (const char* text : {"AQIDB", "AQI"}) {
        try {
            decodeBase64(text);
            ADD_FAILURE() << "no exception for " << text;
        } catch (const std::runtime_error& e) {
            EXPECT_STREQ(e.what(), "Invalid Base64 string length.");
        }
    }
}

TEST(DcDatasetJson, RoundTripThroughTheEventArray)
{
    const DcDataset original =
        makeDc({timeColumn(), voltageColumn(), currentColumn()}, {{0.0, 0.5, 1.0}, {0.1, 0.2, -0.3}, {1e-9, NaN, 3.0}},
               "job-17", "Cyclic Voltammetry", "CV");
    const json::value events = json::parse(json::serialize(eventArrayOf(original)));

    const DcDataset back = readDc(events);
    EXPECT_EQ(back.getHeader().getMeasurementType(), "Cyclic Voltammetry");
    EXPECT_EQ(back.getHeader().getShortMeasurementType(), "CV");
    EXPECT_EQ(back.getHeader().getColumns(), original.getHeader().getColumns());
    ASSERT_EQ(back.getTracks().size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_TRUE(sameValues(back.getTracks()[i], original.getTracks()[i])) << "track " << i;
    }
    EXPECT_EQ(back.getJobInfo().jobId, "job-17");
    EXPECT_EQ(back.getJobInfo().status, JobStatusEnum::FINISHED);
    EXPECT_EQ(dcDatasetToBinary(back).value(), dcDatasetToBinary(original).value());
}

TEST(DcDatasetJson, TrailingBytesInTheRowsAreIgnored)
{
    const std::string table = dcDatasetToBinary(makeDc({timeColumn(), voltageColumn()}, {{1.0}, {2.0}})).value();
    const json::array events{headerEvent(twoColumns()), rowsEvent(json::string(base64::encode(table + "xyz"))),
                             finishedEvent("j")};
    const DcDataset ds = readDc(events);
    EXPECT_EQ(ds.getTracks(), (std::vector<std::vector<double>>{{1.0}, {2.0}}));
}

TEST(DcDatasetJson, RowCountComesFromTheDecodedBytes)
{
    // 16 bytes encode to 24 characters whose size says 16 bytes; padding in
    // the second group makes them decode to 14, not enough for two rows.
    std::string text = base64::encode(std::string(16, '\x11'));
    ASSERT_EQ(text.size(), 24u);
    text.replace(4, 4, "AA==");
    ASSERT_EQ(base64::declaredSize(text), std::optional<std::size_t>(16));
    std::string bytes;
    ASSERT_EQ(base64::decode(text, base64::Policy::UncheckedGroups, bytes), std::nullopt);
    ASSERT_EQ(bytes.size(), 14u);

    const LiveDataHeader oneColumn("t", "s", {timeColumn()});
    const DcDataset single =
        readDc(json::array{headerEvent(oneColumn), rowsEvent(json::string(text)), finishedEvent("j")});
    ASSERT_EQ(single.getTracks().size(), 1u);
    EXPECT_EQ(single.getTracks()[0].size(), 1u);

    const DcDataset two =
        readDc(json::array{headerEvent(twoColumns()), rowsEvent(json::string(text)), finishedEvent("j")});
    ASSERT_EQ(two.getTracks().size(), 2u);
    EXPECT_TRUE(two.getTracks()[0].empty());
    EXPECT_TRUE(two.getTracks()[1].empty());
}

TEST(DcDatasetJson, HeaderWithoutColumnsGivesNoTracks)
{
    const json::array events{headerEvent(LiveDataHeader("t", "s", {})),
                             rowsEvent(json::string(base64::encode(std::string(48, '\0')))), finishedEvent("j-0")};
    const DcDataset ds = readDc(events);
    EXPECT_TRUE(ds.getTracks().empty());
    EXPECT_EQ(ds.getRowCount(), 0u);
    EXPECT_EQ(ds.getJobInfo().jobId, "j-0");
}

TEST(DcDatasetJson, TwoEventsGiveColumnsWithoutRows)
{
    const json::array events{headerEvent(twoColumns()), finishedEvent("j-2")};
    const DcDataset ds = readDc(events);
    EXPECT_EQ(ds.getHeader().getColumns(), twoColumns().getColumns());
    ASSERT_EQ(ds.getTracks().size(), 2u);
    EXPECT_TRUE(ds.getTracks()[0].empty());
    EXPECT_EQ(ds.getJobInfo().jobId, "j-2");
}

TEST(DcDatasetJson, FourEventsKeepOnlyHeaderAndJobInfo)
{
    const std::string table = dcDatasetToBinary(makeDc({timeColumn(), voltageColumn()}, {{1.0}, {2.0}})).value();
    const json::array events{headerEvent(twoColumns()), rowsEvent(json::string(base64::encode(table))),
                             rowsEvent(json::string(base64::encode(table))), finishedEvent("j-4")};
    const DcDataset ds = readDc(events);
    ASSERT_EQ(ds.getTracks().size(), 2u);
    EXPECT_TRUE(ds.getTracks()[0].empty());
    EXPECT_EQ(ds.getJobInfo().jobId, "j-4");
}

TEST(DcDatasetJson, MalformedArraysGiveTheEmptyDataset)
{
    const std::string table = dcDatasetToBinary(makeDc({timeColumn(), voltageColumn()}, {{1.0}, {2.0}})).value();
    const json::value cases[] = {
        json::object{},
        json::array{},
        json::array{headerEvent(twoColumns())},
        json::array{"header", finishedEvent("j")},
        // rows as an array of rows, not a base64 table
        json::array{headerEvent(twoColumns()), rowsEvent(json::array{json::array{1.0, 2.0}}), finishedEvent("j")},
        // base64 of a length that is not a multiple of 4
        json::array{headerEvent(twoColumns()), rowsEvent(json::string("AQIDB")), finishedEvent("j")},
        // middle event of another type
        json::array{headerEvent(twoColumns()), event("LIVE_DATA_HEADER", {{"data", base64::encode(table)}}),
                    finishedEvent("j")},
        // "type" is not "EVENT"
        json::array{headerEvent(twoColumns()),
                    json::object{{"type", "REPLY"}, {"event", {{"type", "LIVE_DATA_ROWS"}, {"data", base64::encode(table)}}}},
                    finishedEvent("j")},
    };
    for (const auto& value : cases) {
        EXPECT_TRUE(isEmptyDefault(readDc(value))) << json::serialize(value);
    }
}

TEST(DcDatasetJson, JobInfoOnlyFromAFinishedEventAtTheEnd)
{
    const json::array events{headerEvent(twoColumns()), event("LIVE_DATA_ROWS", {{"job_info", {{"job_id", "x"}}}})};
    const DcDataset ds = readDc(events);
    EXPECT_EQ(ds.getTracks().size(), 2u);
    EXPECT_EQ(ds.getJobInfo().jobId, "");
    EXPECT_EQ(ds.getJobInfo().status, JobStatusEnum::UNKNOWN);
}

TEST(DcDatasetJson, ExtractHeader)
{
    EXPECT_EQ(DcData::extractHeader(headerEvent(twoColumns())).getColumns(), twoColumns().getColumns());
    EXPECT_EQ(DcData::extractHeader(headerEvent(twoColumns())).getShortMeasurementType(), "OCV");
    EXPECT_TRUE(DcData::extractHeader(finishedEvent("j")).getColumns().empty());
    EXPECT_TRUE(DcData::extractHeader(json::value(42)).getColumns().empty());
}
