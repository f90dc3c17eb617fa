#include "eis_test_support.hpp"

#include "marlek_json_common/json_common/protocol/livedataheadereis_json.hpp"
#include "marlek_link_json/jobs/ac/dataset/eis_dataset_json.hpp"
#include "marlek_link_json/jobs/ac/dataset/eis_dataset_rows.hpp"

#include <boost/json.hpp>
#include <gtest/gtest.h>

using namespace eis_test;
namespace json = boost::json;

namespace {

json::object event(std::string_view type, json::object body)
{
    body["type"] = type;
    return json::object{{"type", "EVENT"}, {"event", std::move(body)}};
}

// Meta frequency and wave_id; one sync path "voltage" of one column.
LiveDataHeaderEis rowHeader()
{
    return eisHeader({column("frequency", "Hz"), column("wave_id")}, {},
                     {PathDataHeader("P:1", "voltage", {column("dc", "V")}, UserPolynomial())});
}

json::object headerEvent()
{
    return event("LIVE_DATA_HEADER_EIS", {{"header", json::value_from(rowHeader())}});
}

json::object rowEvent(double frequency, json::value waveId, json::array wave)
{
    return event("LIVE_DATA_ROW_EIS", {{"impedances", json::array{}},
                                       {"paths", json::array{json::array{frequency / 10}}},
                                       {"paths_waves", json::array{std::move(wave)}},
                                       {"async_paths", json::array{}},
                                       {"potentiostats", json::array{}},
                                       {"meta", json::array{frequency, std::move(waveId)}}});
}

json::object finishedEvent(std::string jobId)
{
    return event("LIVE_DATA_FINISHED", {{"job_info", {{"job_id", jobId}, {"status", "FINISHED"}}}});
}

} // namespace

TEST(EisDatasetJson, RebuildsRowsAndStoresASharedWaveOnce)
{
    const json::value events = json::array{
        headerEvent(),
        rowEvent(100.0, 7, json::array{1.0, 2.0}),
        event("JOB_STATUS_UPDATE", {}),
        rowEvent(50.0, 7, json::array{1.0, 2.0}),
        rowEvent(20.0, 3, json::array{3.0}),
        rowEvent(10.0, -1, json::array{}),
        finishedEvent("j-9"),
    };
    const auto ds = json::value_to<EisDataset>(events);
    EXPECT_EQ(ds.getJobInfo().jobId, "j-9");
    EXPECT_EQ(ds.getRowCount(), 4u);
    EXPECT_EQ(ds.getFrequencies(), (Column{100.0, 50.0, 20.0, 10.0}));
    EXPECT_EQ(ds.getPathDcValues(0), (Column{10.0, 5.0, 2.0, 1.0}));
    EXPECT_EQ(ds.getPathWaves(0), (Columns{{1.0, 2.0}, {3.0}}));
    EXPECT_EQ(ds.getWaveIds(), (Column{0.0, 0.0, 1.0, -1.0}));
    EXPECT_EQ(ds.getWaveForRow("voltage", 1), (Column{1.0, 2.0}));
    EXPECT_EQ(&ds.getWaveForRow(0, 3), &EisDataset::EMPTY_TRACK);
}

TEST(EisDatasetJson, MalformedArraysGiveEmptyDatasets)
{
    for (const json::value& source :
         {json::value(3), json::value(json::array{headerEvent()}), json::value(json::array{1, finishedEvent("x")}),
          json::value(json::object{})}) {
        const auto ds = json::value_to<EisDataset>(source);
        EXPECT_EQ(ds.getRowCount(), 0u);
        EXPECT_TRUE(ds.getMetaDataHeader().empty());
        EXPECT_EQ(ds.getJobInfo().status, JobInfo{}.status);
    }
    // Without a final LIVE_DATA_FINISHED the job information stays default.
    const auto ds = json::value_to<EisDataset>(json::value(json::array{headerEvent(), rowEvent(1.0, 0, json::array{1.0})}));
    EXPECT_EQ(ds.getRowCount(), 0u) << "the last element is never read as a row";
    EXPECT_EQ(ds.getJobInfo().jobId, "");
    EXPECT_EQ(ds.getMetaDataHeader().size(), 2u);
}

TEST(EisDatasetJson, WaveIdsThatAreNoNumberNameNoWave)
{
    // JSON has no NaN, but a huge id must not be converted blindly either.
    const json::value events = json::array{
        headerEvent(),
        rowEvent(100.0, 1e300, json::array{1.0}),
        rowEvent(50.0, -0.6, json::array{2.0}),
        rowEvent(20.0, 4, json::array{3.0}),
        finishedEvent("j"),
    };
    const auto ds = json::value_to<EisDataset>(events);
    EXPECT_EQ(ds.getWaveIds(), (Column{-1.0, -1.0, 0.0}));
    EXPECT_EQ(ds.getPathWaves(0), (Columns{{3.0}}));
}

TEST(EisDatasetJson, RowsOfTheWrongShapeAreDropped)
{
    json::object wrongKind = rowEvent(10.0, 0, json::array{1.0});
    wrongKind["event"].as_object()["meta"] = json::array{"ten", 0};
    json::object missingKey = rowEvent(20.0, 0, json::array{1.0});
    missingKey["event"].as_object().erase("potentiostats");
    json::object extraPath = rowEvent(30.0, 1, json::array{2.0});
    extraPath["event"].as_object()["paths"] = json::array{json::array{3.0}, json::array{4.0}};

    testing::internal::CaptureStdout();
    const auto ds = json::value_to<EisDataset>(
        json::value(json::array{headerEvent(), wrongKind, missingKey, extraPath, rowEvent(40.0, 2, json::array{5.0}),
                                finishedEvent("j")}));
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_NE(printed.find("SIZE MISMATCH"), std::string::npos);
    // The row with the extra path loses its paths but keeps its meta values.
    EXPECT_EQ(ds.getFrequencies(), (Column{30.0, 40.0}));
    EXPECT_EQ(ds.getPathDcValues(0), (Column{4.0}));
}

TEST(EisDatasetJson, FromArrayUnderAGivenHeader)
{
    const json::array events = {rowEvent(100.0, 5, json::array{1.0}), headerEvent(), rowEvent(50.0, 6, json::array{2.0})};
    const EisDataset ds = eisDatasetFromJsonArray(events, rowHeader(), jobWithId("given"));
    EXPECT_EQ(ds.getJobInfo().jobId, "given");
    EXPECT_EQ(ds.getFrequencies(), (Column{100.0, 50.0}));
    EXPECT_EQ(ds.getWaveIds(), (Column{0.0, 1.0}));
}

TEST(EisDatasetJson, ExtractHeaderOnlyFromAHeaderEvent)
{
    EXPECT_EQ(EisData::extractHeader(headerEvent()), rowHeader());
    EXPECT_EQ(EisData::extractHeader(headerEvent()).getMetaColumns().size(), 2u);
    EXPECT_TRUE(EisData::extractHeader(finishedEvent("x")).getPaths().empty());
    EXPECT_TRUE(EisData::extractHeader(json::value(1)).getMetaColumns().empty());
}

TEST(EisDatasetRows, DedupWavesKeepsEveryPathAligned)
{
    Groups waves(2);
    std::map<long long, long long> map;
    // Without a wave_id column every row with a wave gets a new index.
    EXPECT_EQ(dedupWaves(waves, {{1.0}, {2.0}}, -1, {}, map), 0);
    EXPECT_EQ(dedupWaves(waves, {{3.0}}, -1, {}, map), 1);
    EXPECT_EQ(dedupWaves(waves, {{}, {}}, -1, {}, map), -1);
    EXPECT_EQ(waves, (Groups{{{1.0}, {3.0}}, {{2.0}, {}}}));
    // A row with more paths than the header grows the wave lists.
    EXPECT_EQ(dedupWaves(waves, {{4.0}, {5.0}, {6.0}}, 0, {9.0}, map), 2);
    EXPECT_EQ(waves.size(), 3u);
    EXPECT_EQ(waves[2], (Columns{{}, {}, {6.0}}));
    EXPECT_EQ(dedupWaves(waves, {{7.0}}, 0, {9.4}, map), 2);

    Columns meta(2);
    appendMetaWithWaveId(meta, {1.0, 9.0}, 1, 2);
    appendMetaWithWaveId(meta, {1.0, 9.0}, 5, 2);
    EXPECT_EQ(meta, (Columns{{1.0, 1.0}, {2.0, 9.0}}));
}
