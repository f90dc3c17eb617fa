#include "dataset_test_support.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <string>

using namespace dataset_test;

namespace {

const ColumnHeader ALPHA("zz-alpha", "x", "urn-a");
const ColumnHeader ZETA("aa-zeta", "x", "urn-b");

DcDataset threeColumns()
{
    return makeDc({timeColumn(), voltageColumn(), currentColumn()}, {{0.0, 1.0}, {0.5, 0.6}, {1e-3, 2e-3}});
}

} // namespace

TEST(DcDataset, ConstructorsShapeTheTracks)
{
    const DcDataset empty;
    EXPECT_TRUE(empty.getHeader().getColumns().empty());
    EXPECT_TRUE(empty.getTracks().empty());
    EXPECT_EQ(empty.getRowCount(), 0u);
    EXPECT_EQ(empty.getJobInfo().status, JobStatusEnum::UNKNOWN);

    const DcDataset columnsOnly(LiveDataHeader("t", "s", {timeColumn(), voltageColumn()}), jobWithId("j"));
    ASSERT_EQ(columnsOnly.getTracks().size(), 2u);
    EXPECT_TRUE(columnsOnly.getTracks()[1].empty());
    EXPECT_EQ(columnsOnly.getJobInfo().jobId, "j");
}

TEST(DcDataset, LookupsFindTheFirstMatchingColumn)
{
    const ColumnHeader secondVoltage("voltage", "V", "AUX:1:IN");
    const DcDataset ds = makeDc({timeColumn(), voltageColumn(), secondVoltage}, {{0.0}, {1.0}, {2.0}});

    EXPECT_EQ(ds.getDcDimensions(), (std::vector<std::string>{"time", "voltage", "voltage"}));
    EXPECT_EQ(ds.indexOfDimension("voltage"), 1);
    EXPECT_EQ(ds.indexOf(secondVoltage), 2);
    EXPECT_EQ(ds.indexOfUrn("AUX:1:IN"), 2);
    EXPECT_EQ(ds.getDcTrack("voltage"), (std::vector<double>{1.0}));

    const auto byName = ds.getDcTracks();
    ASSERT_EQ(byName.size(), 2u);
    EXPECT_EQ(byName.begin()->first, "time");
    EXPECT_EQ(&byName.at("voltage").get(), &ds.getTracks()[1]);
}

TEST(DcDataset, MissingLookupsGiveSentinels)
{
    const DcDataset ds = threeColumns();
    EXPECT_EQ(&ds.getDcTrack("power"), &DcDataset::EMPTY_TRACK);
    EXPECT_EQ(&ds.getDcTrack("Time"), &DcDataset::EMPTY_TRACK);
    EXPECT_TRUE(DcDataset::EMPTY_TRACK.empty());
    EXPECT_EQ(ds.indexOfDimension("power"), -1);
    EXPECT_EQ(ds.indexOf(ColumnHeader("voltage", "mV", "MAIN:1:POT")), -1);
    EXPECT_EQ(ds.indexOfUrn("nowhere"), -1);
}

TEST(DcDataset, AppendDataRowIgnoresSurplusAndLeavesShortRowsRagged)
{
    DcDataset ds(LiveDataHeader("t", "s", {timeColumn(), voltageColumn(), currentColumn()}), JobInfo{});
    ds.appendDataRow({1.0, 2.0, 3.0, 99.0});
    ds.appendDataRow({4.0});
    EXPECT_EQ(ds.getTracks()[0], (std::vector<double>{1.0, 4.0}));
    EXPECT_EQ(ds.getTracks()[1], (std::vector<double>{2.0}));
    EXPECT_EQ(ds.getTracks()[2], (std::vector<double>{3.0}));
    EXPECT_EQ(ds.getRowCount(), 2u);
}

TEST(DcDataset, InfoSummarisesTheDataset)
{
    const DcDataset ds = threeColumns();
    const DatasetInfo info = ds.getInfo();
    EXPECT_EQ(info.type, DatasetType::DC);
    EXPECT_EQ(info.job_type, "Cyclic Voltammetry");
    EXPECT_EQ(info.job_type_short, "CV");
    EXPECT_EQ(info.num_rows, 2u);
    EXPECT_EQ(info.first_time_value, 0.0);
    EXPECT_EQ(info.jobInfo.jobId, "job");

    const DcDataset noRows(LiveDataHeader("t", "s", {timeColumn()}), JobInfo{});
    EXPECT_EQ(noRows.getInfo().num_rows, 0u);
    EXPECT_TRUE(std::isnan(noRows.getInfo().first_time_value));
    EXPECT_TRUE(std::isnan(DcDataset().getInfo().first_time_value));
}

TEST(DcDataset, FillVectorsSortsByUrnThenDimensionThenUnit)
{
    const ColumnHeader a1("b", "u", "1");
    const ColumnHeader a2("a", "u", "2");
    const ColumnHeader shared("s", "u", "0");
    const ColumnHeader b1("a", "v", "1");
    const ColumnHeader b2("a", "u", "1");
    std::vector<ColumnHeader> onlyA;
    std::vector<ColumnHeader> onlyB;
    std::vector<ColumnHeader> common;
    DcDataset::fillVectors({a2, shared, a1}, {b1, shared, b2}, onlyA, onlyB, common);
    EXPECT_EQ(common, (std::vector<ColumnHeader>{shared}));
    EXPECT_EQ(onlyA, (std::vector<ColumnHeader>{a1, a2}));
    EXPECT_EQ(onlyB, (std::vector<ColumnHeader>{b2, b1}));
}

struct AppendCase {
    std::string name;
    DcDataset receiver;
    DcDataset added;
    double timeOffset;
    std::vector<ColumnHeader> columns;
    std::vector<std::vector<double>> tracks;
    std::string type;
    std::string shortType;
    std::vector<std::string> partJobIds;
};

void PrintTo(const AppendCase& c, std::ostream* os)
{
    *os << c.name;
}

class DcAppend : public ::testing::TestWithParam<AppendCase> {};

TEST_P(DcAppend, JoinsColumnsPadsAndShiftsTime)
{
    const AppendCase& c = GetParam();
    DcDataset receiver = c.receiver;
    ASSERT_TRUE(receiver.append(c.added, c.timeOffset));

    EXPECT_EQ(receiver.getHeader().getColumns(), c.columns);
    ASSERT_EQ(receiver.getTracks().size(), c.tracks.size());
    for (std::size_t i = 0; i < c.tracks.size(); ++i) {
        EXPECT_TRUE(sameValues(receiver.getTracks()[i], c.tracks[i])) << "track " << i;
    }
    EXPECT_EQ(receiver.getHeader().getMeasurementType(), c.type);
    EXPECT_EQ(receiver.getHeader().getShortMeasurementType(), c.shortType);
    std::vector<std::string> ids;
    for (const auto& part : receiver.getIncludedDatasets()) {
        ids.push_back(part.jobInfo.jobId);
    }
    EXPECT_EQ(ids, c.partJobIds);
    const DcDataset& jobSource = c.receiver.getRowCount() == 0 ? c.added : c.receiver;
    EXPECT_EQ(receiver.getJobInfo().jobId, jobSource.getJobInfo().jobId);
}

const ColumnHeader T = timeColumn();
const ColumnHeader V = voltageColumn();
const ColumnHeader I = currentColumn();

INSTANTIATE_TEST_SUITE_P(
    Cases, DcAppend,
    ::testing::Values(
        AppendCase{"SameColumnsContinueTime",
                   makeDc({T, V, I}, {{0.0, 10.0}, {1.0, 2.0}, {5.0, 6.0}}, "a"),
                   makeDc({T, V, I}, {{0.0, 1.0}, {3.0, 4.0}, {7.0, 8.0}}, "b"), 0.5,
                   {T, V, I}, {{0.0, 10.0, 10.5, 11.5}, {1.0, 2.0, 3.0, 4.0}, {5.0, 6.0, 7.0, 8.0}},
                   "Cyclic Voltammetry", "CV", {"a", "b"}},
        AppendCase{"ColumnsMatchedByHeaderNotPosition",
                   makeDc({T, V, I}, {{0.0, 1.0}, {1.0, 2.0}, {5.0, 6.0}}, "a"),
                   makeDc({T, I, V}, {{0.0, 1.0}, {7.0, 8.0}, {3.0, 4.0}}, "b"), 0.0,
                   {T, V, I}, {{0.0, 1.0, 1.0, 2.0}, {1.0, 2.0, 3.0, 4.0}, {5.0, 6.0, 7.0, 8.0}},
                   "Cyclic Voltammetry", "CV", {"a", "b"}},
        AppendCase{"DisjointColumnsPadWithNaN",
                   makeDc({T, V}, {{0.0, 1.0}, {1.0, 2.0}}, "a"),
                   makeDc({T, I}, {{0.0}, {9.0}}, "b"), 1.0,
                   {T, V, I}, {{0.0, 1.0, 2.0}, {1.0, 2.0, NaN}, {NaN, NaN, 9.0}},
                   "Cyclic Voltammetry", "CV", {"a", "b"}},
        AppendCase{"NewColumnsAddedInUrnOrder",
                   makeDc({T}, {{0.0}}, "a"),
                   makeDc({ZETA, T, ALPHA}, {{2.0}, {0.0}, {1.0}}, "b"), 0.0,
                   {T, ALPHA, ZETA}, {{0.0, 0.0}, {NaN, 1.0}, {NaN, 2.0}},
                   "Cyclic Voltammetry", "CV", {"a", "b"}},
        AppendCase{"MissingTimeColumnStaysNaN",
                   makeDc({T, V}, {{0.0, 4.0}, {1.0, 2.0}}, "a"),
                   makeDc({V}, {{3.0}}, "b"), 100.0,
                   {T, V}, {{0.0, 4.0, NaN}, {1.0, 2.0, 3.0}},
                   "Cyclic Voltammetry", "CV", {"a", "b"}},
        AppendCase{"AddedDatasetWithoutRowsStillAddsColumnsAndPart",
                   makeDc({T, V}, {{0.0, 1.0}, {1.0, 2.0}}, "a"),
                   makeDc({T, I}, {{}, {}}, "b"), 1.0,
                   {T, V, I}, {{0.0, 1.0}, {1.0, 2.0}, {NaN, NaN}},
                   "Cyclic Voltammetry", "CV", {"a", "b"}},
        AppendCase{"ReceiverWithoutRowsBecomesACopy",
                   makeDc({T, V}, {{}, {}}, "a", "Ramp", "RA"),
                   makeDc({T, I}, {{3.0, 4.0}, {9.0, 8.0}}, "b"), 100.0,
                   {T, I}, {{3.0, 4.0}, {9.0, 8.0}},
                   "Cyclic Voltammetry", "CV", {}},
        AppendCase{"OtherTypeTextsGiveCombinedNames",
                   makeDc({T}, {{0.0}}, "a", "Cyclic Voltammetry", "CV"),
                   makeDc({T}, {{0.0}}, "b", "Linear Sweep", "LSV"), 0.0,
                   {T}, {{0.0, 0.0}}, "DC Combined", "DC", {"a", "b"}},
        AppendCase{"OnlyShortTypeDiffers",
                   makeDc({T}, {{0.0}}, "a", "Same", "S1"),
                   makeDc({T}, {{0.0}}, "b", "Same", "S2"), 0.0,
                   {T}, {{0.0, 0.0}}, "Same", "DC", {"a", "b"}},
        AppendCase{"RepeatedColumnsPairedByOccurrence",
                   makeDc({T, V, V}, {{0.0}, {1.0}, {2.0}}, "a"),
                   makeDc({T, V, V}, {{0.0}, {3.0}, {4.0}}, "b"), 0.0,
                   {T, V, V}, {{0.0, 0.0}, {1.0, 3.0}, {2.0, 4.0}},
                   "Cyclic Voltammetry", "CV", {"a", "b"}}),
    [](const ::testing::TestParamInfo<AppendCase>& info) { return info.param.name; });

TEST(DcAppendSelf, DoublesTheRowsFromACopy)
{
    DcDataset ds = makeDc({T, V}, {{0.0, 1.0}, {5.0, 6.0}}, "a");
    ASSERT_TRUE(ds.append(ds, 2.0));
    EXPECT_EQ(ds.getTracks()[0], (std::vector<double>{0.0, 1.0, 3.0, 4.0}));
    EXPECT_EQ(ds.getTracks()[1], (std::vector<double>{5.0, 6.0, 5.0, 6.0}));
    ASSERT_EQ(ds.getIncludedDatasets().size(), 2u);
    EXPECT_EQ(ds.getIncludedDatasets()[0].num_rows, 2u);
    EXPECT_EQ(ds.getIncludedDatasets()[1].num_rows, 2u);

    // Once combined, its own part list is what gets appended.
    ASSERT_TRUE(ds.append(ds, 0.0));
    EXPECT_EQ(ds.getRowCount(), 8u);
    EXPECT_EQ(ds.getIncludedDatasets().size(), 4u);
}

TEST(DcAppendSelf, EmptyDatasetStaysEmpty)
{
    DcDataset ds(LiveDataHeader("t", "s", {T}), jobWithId("a"));
    ASSERT_TRUE(ds.append(ds, 1.0));
    EXPECT_EQ(ds.getRowCount(), 0u);
    EXPECT_EQ(ds.getHeader().getColumns(), (std::vector<ColumnHeader>{T}));
    EXPECT_EQ(ds.getJobInfo().jobId, "a");
}

TEST(DcAppendShape, TrackCountOtherThanColumnCountIsRefusedUnchanged)
{
    DcDataset receiver = makeDc({T, V}, {{0.0, 1.0}, {1.0, 2.0}}, "a");
    const DcDataset malformed = makeDc({T, V, I}, {{0.0}}, "b");
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(receiver.append(malformed, 0.0));
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "cannot append: the data does not have the shape its header describes\n");
    EXPECT_EQ(receiver.getRowCount(), 2u);
    EXPECT_EQ(receiver.getHeader().getColumns().size(), 2u);
    EXPECT_TRUE(receiver.getIncludedDatasets().empty());
}
