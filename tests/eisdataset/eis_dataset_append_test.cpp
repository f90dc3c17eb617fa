#include "eis_test_support.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace eis_test;

namespace {

using Values = std::vector<double>;

std::vector<ColumnHeader> metaWithWaveId()
{
    return {column("frequency", "Hz"), column("periods"), column("time", "s"), column("wave_id")};
}

LiveDataHeaderEis onePathHeader(std::vector<ColumnHeader> meta = metaWithWaveId(), std::string type = "EIS Type",
                                std::string shortType = "EIS")
{
    return LiveDataHeaderEis(std::move(type), std::move(shortType), std::move(meta), {impedanceHeader()},
                             {PathDataHeader("MAIN:1:U", "voltage", {column("dc", "V")}, UserPolynomial())}, {}, {});
}

// One row of the one-path header; `wave` is the path's samples.
LiveDataRowEis row(double time, double waveId, Values wave = {})
{
    return LiveDataRowEis({{100.0, 0.5}}, {{time * 2}}, {std::move(wave)}, {}, {}, {1000.0, 3.0, time, waveId});
}

// Rows at times 0, 1, 2 whose wave ids name the stored waves in order.
EisDataset threeRowsWithWaves(std::string jobId, std::size_t waves, std::string type = "EIS Type",
                              std::string shortType = "EIS")
{
    EisData data;
    data.meta = {{1000, 100, 10}, {3, 3, 3}, {0, 1, 2}, {waves > 0 ? 0.0 : -1.0, waves > 1 ? 1.0 : -1.0, -1}};
    data.impedances = {{{1, 2, 3}, {0, 0, 0}}};
    data.paths = {{{0.1, 0.2, 0.3}}};
    data.pathWaves = {{}};
    for (std::size_t w = 0; w < waves; ++w) {
        data.pathWaves[0].push_back({static_cast<double>(w), 0.5});
    }
    return makeEis(onePathHeader(metaWithWaveId(), std::move(type), std::move(shortType)), std::move(data),
                   std::move(jobId));
}

} // namespace

TEST(EisAppendDataRow, StoresEachDeviceWaveOnce)
{
    EisDataset dataset(onePathHeader(), {}, {}, {}, {}, {}, {}, jobWithId("job"));
    dataset.appendDataRow(row(0, 7, {1, 2}));
    dataset.appendDataRow(row(1, 7));
    dataset.appendDataRow(row(2, 9, {3}));
    dataset.appendDataRow(row(3, -1, {8, 8}));
    // A new id without samples stores nothing and is not remembered ...
    dataset.appendDataRow(row(4, 11));
    // ... so its samples, when they come, get a wave of their own.
    dataset.appendDataRow(row(5, 11, {4}));
    EXPECT_EQ(dataset.getPathWaves(0), (std::vector<Values>{{1, 2}, {3}, {4}}));
    EXPECT_EQ(dataset.getWaveIds(), (Values{0, 0, 1, -1, -1, 2}));
    EXPECT_EQ(dataset.getRowCount(), 6u);
    EXPECT_TRUE(dataset.hasConsistentShape());
    EXPECT_EQ(dataset.getPathData("voltage").getWaves().size(), 3u);
    EXPECT_EQ(dataset.getWaveForRow("voltage", 1), (Values{1, 2}));
}

TEST(EisAppendDataRow, WaveIdsThatNameNoWaveStoreNone)
{
    EisDataset dataset(onePathHeader(), {}, {}, {}, {}, {}, {}, jobWithId("job"));
    for (const double id : {NaN, INF, -INF, 1e19, -1e300}) {
        dataset.appendDataRow(row(0, id, {1}));
    }
    EXPECT_TRUE(dataset.getPathWaves(0).empty());
    EXPECT_EQ(dataset.getWaveIds(), (Values{-1, -1, -1, -1, -1}));
}

TEST(EisAppendDataRow, WithoutWaveIdColumnWavesAreNumberedInArrivalOrder)
{
    LiveDataHeaderEis header = onePathHeader({column("frequency", "Hz"), column("periods"), column("time", "s")});
    EisDataset dataset(std::move(header), {}, {}, {}, {}, {}, {}, jobWithId("job"));
    dataset.appendDataRow(LiveDataRowEis({{1, 0}}, {{0.1}}, {{5}}, {}, {}, {10, 3, 0}));
    dataset.appendDataRow(LiveDataRowEis({{1, 0}}, {{0.1}}, {{}}, {}, {}, {10, 3, 1}));
    dataset.appendDataRow(LiveDataRowEis({{1, 0}}, {{0.1}}, {{6}}, {}, {}, {10, 3, 2}));
    EXPECT_EQ(dataset.getPathWaves(0), (std::vector<Values>{{5}, {6}}));
}

TEST(EisAppendDataRow, NewWavesFollowTheWavesAlreadyStored)
{
    // Waves a reader or an append stored are not in the row bookkeeping; a
    // new wave must not reuse their indices.
    EisDataset dataset = threeRowsWithWaves("job", 2);
    dataset.appendDataRow(row(3, 0, {9, 9}));
    EXPECT_EQ(dataset.getWaveIds(), (Values{0, 1, -1, 2}));
    EXPECT_EQ(dataset.getWaveForRow(0, 3), (Values{9, 9}));
    EXPECT_EQ(dataset.getWaveForRow(0, 0), (Values{0, 0.5}));
}

TEST(EisAppendDataRow, ShortAndLongRowsLeaveTheShapeInconsistent)
{
    EisDataset dataset = threeRowsWithWaves("job", 0);
    dataset.appendDataRow(LiveDataRowEis({{1}}, {{0.4, 7.0}}, {}, {}, {}, {10, 3, 3, -1}));
    EXPECT_EQ(dataset.getRowCount(), 4u);
    EXPECT_FALSE(dataset.hasConsistentShape());
    EXPECT_EQ(dataset.getImpedancesMetaData(0, 1).size(), 3u);
    EXPECT_EQ(dataset.getPathMetaData(0, 1), (Values{7.0}));
}

TEST(EisAppend, EmptyOtherChangesNothing)
{
    EisDataset dataset = threeRowsWithWaves("job", 1);
    EisDataset empty(onePathHeader(), {}, {}, {}, {}, {}, {}, jobWithId("empty"));
    EXPECT_FALSE(dataset.append(empty, 1.0));
    EXPECT_EQ(dataset.getRowCount(), 3u);
    EXPECT_TRUE(dataset.getIncludedDatasets().empty());
}

TEST(EisAppend, AnotherHeaderIsTakenOverOnlyByAnEmptyDataset)
{
    EisDataset empty;
    const EisDataset other = threeRowsWithWaves("other", 2);
    EXPECT_TRUE(empty.append(other, 1.0));
    EXPECT_EQ(empty.getJobInfo().jobId, "other");
    EXPECT_EQ(empty.getTimes(), (Values{0, 1, 2}));
    EXPECT_EQ(empty.getPathWaves(0).size(), 2u);
    EXPECT_TRUE(empty.getIncludedDatasets().empty());

    EisDataset dataset = makeEis(standardHeader({column("periods")}), standardData());
    testing::internal::CaptureStderr();
    EXPECT_FALSE(dataset.append(other, 1.0));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(dataset.getRowCount(), 3u);
}

TEST(EisAppend, JoinsRowsTimesWavesAndParts)
{
    EisDataset dataset = threeRowsWithWaves("first", 2);
    dataset.appendDataRow(row(9, 5, {7}));
    dataset.appendDataRow(row(10, 6, {8}));
    ASSERT_EQ(dataset.getPathWaves(0).size(), 4u);
    ASSERT_EQ(dataset.getTimes().back(), 10.0);

    EXPECT_TRUE(dataset.append(threeRowsWithWaves("second", 2), 5.0));
    EXPECT_EQ(dataset.getRowCount(), 8u);
    EXPECT_TRUE(dataset.hasConsistentShape());
    EXPECT_EQ(dataset.getTimes(), (Values{0, 1, 2, 9, 10, 15, 16, 17}));
    EXPECT_EQ(dataset.getWaveIds(), (Values{0, 1, -1, 2, 3, 4, 5, -1}));
    EXPECT_EQ(dataset.getWaveForRow(0, 6), (Values{1, 0.5}));
    EXPECT_EQ(dataset.getPathDcValues(0), (Values{0.1, 0.2, 0.3, 18, 20, 0.1, 0.2, 0.3}));
    EXPECT_EQ(dataset.getHeader().getMeasurementType(), "EIS Type");
    EXPECT_EQ(dataset.getHeader().getShortMeasurementType(), "EIS");
    ASSERT_EQ(dataset.getIncludedDatasets().size(), 2u);
    EXPECT_EQ(dataset.getIncludedDatasets()[0].jobInfo.jobId, "first");
    EXPECT_EQ(dataset.getIncludedDatasets()[0].num_rows, 5u);
    EXPECT_EQ(dataset.getIncludedDatasets()[1].jobInfo.jobId, "second");
    EXPECT_EQ(dataset.getPathData("voltage").getDcTrack().size(), 8u);
}

TEST(EisAppend, DifferentTypesAreMarkedCombined)
{
    struct Case {
        std::string type;
        std::string shortType;
        std::string expectedType;
        std::string expectedShort;
    };
    for (const Case& c : {Case{"EIS Type", "PEIS", "EIS Type", "PEIS"}, Case{"Other", "PEIS", "EIS Combined", "PEIS"},
                          Case{"EIS Type", "GEIS", "EIS Type", "EIS"}}) {
        EisDataset dataset = threeRowsWithWaves("first", 0, "EIS Type", "PEIS");
        ASSERT_TRUE(dataset.append(threeRowsWithWaves("second", 0, c.type, c.shortType), 0.0));
        EXPECT_EQ(dataset.getHeader().getMeasurementType(), c.expectedType) << c.type;
        EXPECT_EQ(dataset.getHeader().getShortMeasurementType(), c.expectedShort) << c.shortType;
    }
}

TEST(EisAppend, AppendingItselfUsesACopy)
{
    EisDataset dataset = threeRowsWithWaves("job", 2);
    EXPECT_TRUE(dataset.append(dataset, 1.0));
    EXPECT_EQ(dataset.getRowCount(), 6u);
    EXPECT_TRUE(dataset.hasConsistentShape());
    EXPECT_EQ(dataset.getTimes(), (Values{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(dataset.getWaveIds(), (Values{0, 1, -1, 2, 3, -1}));
    EXPECT_EQ(dataset.getPathWaves(0).size(), 4u);
    ASSERT_EQ(dataset.getIncludedDatasets().size(), 2u);
    EXPECT_EQ(dataset.getIncludedDatasets()[1].num_rows, 3u);
}

namespace {

struct Mismatch {
    const char* name;
    EisDataset other;
    std::string message;
};

EisDataset otherImpedanceColumns()
{
    LiveDataHeaderEis header(
        "EIS Type", "EIS", metaWithWaveId(),
        {ImpedanceDataHeader("MAIN:1:U", "MAIN:1:I", {column("|impedance|", "\xE2\x84\xA6"), column("drift")}, "")},
        {PathDataHeader("MAIN:1:U", "voltage", {column("dc", "V")}, UserPolynomial())}, {}, {});
    EisData data;
    data.meta = {{1, 2, 3}, {3, 3, 3}, {0, 1, 2}, {-1, -1, -1}};
    data.impedances = {{{1, 2, 3}, {0, 0, 0}}};
    data.paths = {{{0.1, 0.2, 0.3}}};
    data.pathWaves = {{}};
    return makeEis(std::move(header), std::move(data), "other");
}

EisDataset otherMetaColumns()
{
    EisData data;
    data.meta = {{1, 2, 3}, {0, 1, 2}, {-1, -1, -1}};
    data.impedances = {{{1, 2, 3}, {0, 0, 0}}};
    data.paths = {{{0.1, 0.2, 0.3}}};
    data.pathWaves = {{}};
    return makeEis(onePathHeader({column("frequency", "Hz"), column("time", "s"), column("wave_id")}),
                   std::move(data), "other");
}

EisDataset shortTrack()
{
    EisData data;
    data.meta = {{1, 2, 3}, {3, 3, 3}, {0, 1, 2}, {-1, -1, -1}};
    data.impedances = {{{1, 2, 3}, {0, 0}}};
    data.paths = {{{0.1, 0.2, 0.3}}};
    data.pathWaves = {{}};
    return makeEis(onePathHeader(), std::move(data), "other");
}

} // namespace

TEST(EisAppend, MismatchesLeaveTheDataUnchanged)
{
    const std::string shape = "cannot append: the data does not have the shape its header describes\n";
    std::vector<Mismatch> cases;
    cases.push_back({"impedance column", otherImpedanceColumns(), "header mismatch\n"});
    cases.push_back({"meta column", otherMetaColumns(), "header mismatch\n"});
    cases.push_back({"short track", shortTrack(), shape});
    for (const Mismatch& c : cases) {
        EisDataset dataset = threeRowsWithWaves("job", 2);
        testing::internal::CaptureStderr();
        EXPECT_FALSE(dataset.append(c.other, 1.0)) << c.name;
        EXPECT_EQ(testing::internal::GetCapturedStderr(), c.message) << c.name;
        const EisDataset untouched = threeRowsWithWaves("job", 2);
        EXPECT_EQ(dataset.getRowCount(), 3u) << c.name;
        EXPECT_EQ(dataset.getTimes(), untouched.getTimes()) << c.name;
        EXPECT_EQ(dataset.getImpedancesMetaData(0, 0), untouched.getImpedancesMetaData(0, 0)) << c.name;
        EXPECT_EQ(dataset.getPathWaves(0), untouched.getPathWaves(0)) << c.name;
        EXPECT_TRUE(dataset.getIncludedDatasets().empty()) << c.name;
        EXPECT_TRUE(dataset.hasConsistentShape()) << c.name;
    }
}

TEST(EisAppend, ShapeOfThisDatasetIsCheckedToo)
{
    EisDataset dataset = threeRowsWithWaves("job", 0);
    dataset.appendDataRow(LiveDataRowEis({{1}}, {{0.4}}, {}, {}, {}, {10, 3, 3, -1}));
    testing::internal::CaptureStderr();
    EXPECT_FALSE(dataset.append(threeRowsWithWaves("other", 0), 0.0));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "cannot append: the data does not have the shape its header describes\n");
    EXPECT_EQ(dataset.getRowCount(), 4u);
}

TEST(EisAppend, EqualObjectsArePairedInTheirOrder)
{
    // Two impedances of the same two paths with columns of their own: each
    // must get the values of its own counterpart.
    LiveDataHeaderEis header("EIS Type", "EIS", metaWithWaveId(),
                             {ImpedanceDataHeader("MAIN:1:U", "MAIN:1:I", {}, ""),
                              ImpedanceDataHeader("MAIN:1:U", "MAIN:1:I", {column("|impedance|")}, "")},
                             {}, {}, {});
    EisData data;
    data.meta = {{1, 2}, {3, 3}, {0, 1}, {-1, -1}};
    data.impedances = {{}, {{10, 20}}};
    EisDataset dataset = makeEis(std::move(header), std::move(data));
    EXPECT_TRUE(dataset.append(dataset, 0.0));
    EXPECT_EQ(dataset.getImpedancesMetaData(1, 0), (Values{10, 20, 10, 20}));
    EXPECT_TRUE(dataset.hasConsistentShape());
}
