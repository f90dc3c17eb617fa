#include "eis_test_support.hpp"

#include "marlek_link_json/jobs/ac/dataset/eis_dataset_binary_reader.hpp"
#include "marlek_link_json/jobs/ac/dataset/eis_dataset_binary_writer.hpp"

#include <gtest/gtest.h>

#include <limits>
#include <numeric>
#include <string>

using namespace eis_test;

namespace {

constexpr std::size_t WAVE_ID_LAYOUT = 12;
constexpr std::size_t FIXED_SIZE_LAYOUT = 9;

Column counting(double first, std::size_t count)
{
    Column values(count);
    std::iota(values.begin(), values.end(), first);
    return values;
}

std::string concat(std::initializer_list<Column> columns)
{
    std::string bytes;
    for (const auto& c : columns) {
        bytes += littleEndian(c);
    }
    return bytes;
}

// Meta frequency, wave_id, wave_size; one impedance; two sync paths, one
// async path and one potentiostat of one "dc" column each.
LiveDataHeaderEis waveHeader()
{
    const auto dcPath = [](std::string uri, std::string name) {
        return PathDataHeader(std::move(uri), std::move(name), {column("dc", "V")}, UserPolynomial());
    };
    return eisHeader({column("frequency", "Hz"), column("wave_id"), column("wave_size")}, {impedanceHeader()},
                     {dcPath("MAIN:1:U", "voltage"), dcPath("MAIN:1:I", "current")}, {dcPath("AUX:1:T", "temp")},
                     {potentiostatHeader()});
}

// Four rows: rows 0 and 1 share wave 0 (4 samples), row 2 has wave 1 (6
// samples), row 3 has none and its size of 9 must be ignored.
const Column FREQUENCY = {1000.0, 500.0, 250.0, 125.0};
const Column WAVE_IDS = {0.0, 0.0, 1.0, -1.0};
const Column WAVE_SIZES = {4.0, 4.0, 6.0, 9.0};
const Column MAGNITUDE = {11.0, 12.0, 13.0, 14.0};
const Column PHASE = {-0.1, -0.2, -0.3, -0.4};
const Column VOLTAGE_DC = {0.5, 0.25, 0.125, 0.0625};
const Column CURRENT_DC = {1e-3, 2e-3, 3e-3, 4e-3};
const Column ASYNC_DC = {25.0, 25.5, 26.0, 26.5};
const Column POT_DC = {-1.0, -2.0, -3.0, -4.0};
const Column VOLTAGE_WAVE_0 = counting(100.0, 4);
const Column VOLTAGE_WAVE_1 = counting(200.0, 6);
const Column CURRENT_WAVE_0 = counting(300.0, 4);
const Column CURRENT_WAVE_1 = counting(400.0, 6);

std::string waveIdTable()
{
    return concat({FREQUENCY, WAVE_IDS, WAVE_SIZES, MAGNITUDE, PHASE, VOLTAGE_DC, CURRENT_DC, ASYNC_DC, POT_DC,
                   VOLTAGE_WAVE_0, VOLTAGE_WAVE_1, CURRENT_WAVE_0, CURRENT_WAVE_1});
}

} // namespace

TEST(EisBinaryTable, ReadsTheWaveIdLayout)
{
    const EisDataset ds = eisDatasetFromBinary(waveIdTable() + "xyz", waveHeader(), 4, jobWithId("j-1"), WAVE_ID_LAYOUT);
    EXPECT_EQ(ds.getJobInfo().jobId, "j-1");
    EXPECT_EQ(ds.getRowCount(), 4u);
    EXPECT_EQ(ds.getMetaDataHeader().size(), 3u) << "wave columns exist; none are made";
    EXPECT_EQ(ds.getFrequencies(), FREQUENCY);
    EXPECT_EQ(ds.getWaveIds(), WAVE_IDS);
    EXPECT_EQ(ds.getWaveSizes(), WAVE_SIZES);
    EXPECT_EQ(ds.getImpedancesMetaData(0, 0), MAGNITUDE);
    EXPECT_EQ(ds.getImpedancesMetaData(0, 1), PHASE);
    EXPECT_EQ(ds.getPathMetaData(0, 0), VOLTAGE_DC);
    EXPECT_EQ(ds.getPathMetaData(1, 0), CURRENT_DC);
    EXPECT_EQ(ds.getAsyncPathData(0, 0), ASYNC_DC);
    EXPECT_EQ(ds.getPotentiostatsMetaData(0, 0), POT_DC);
    EXPECT_EQ(ds.getPathWaves(0), (Columns{VOLTAGE_WAVE_0, VOLTAGE_WAVE_1}));
    EXPECT_EQ(ds.getPathWaves(1), (Columns{CURRENT_WAVE_0, CURRENT_WAVE_1}));
    EXPECT_EQ(ds.getWaveForRow(1, 1), CURRENT_WAVE_0);
    EXPECT_EQ(ds.getWaveForRow("voltage", 2), VOLTAGE_WAVE_1);
    EXPECT_EQ(&ds.getWaveForRow(0, 3), &EisDataset::EMPTY_TRACK);
    EXPECT_EQ(ds.getPathData("temp").getDcTrack(), ASYNC_DC);
}

TEST(EisBinaryTable, ReadsTheFixedSizeLayout)
{
    // Two sync paths, three rows, 60 values after the columns: three waves of
    // ten samples per path, one per row.
    const LiveDataHeaderEis header = eisHeader({column("frequency", "Hz")}, {},
                                               {PathDataHeader("P:1", "voltage", {column("dc")}, UserPolynomial()),
                                                PathDataHeader("P:2", "current", {column("dc")}, UserPolynomial())});
    const Column waves = counting(0.0, 60);
    const std::string table = concat({{1.0, 2.0, 3.0}, {4.0, 5.0, 6.0}, {7.0, 8.0, 9.0}, waves});
    for (const std::size_t version : {std::size_t{1}, FIXED_SIZE_LAYOUT}) {
        const EisDataset ds = eisDatasetFromBinary(table, LiveDataHeaderEis(header), 3, JobInfo{}, version);
        ASSERT_EQ(ds.getPathWaves(0).size(), 3u);
        ASSERT_EQ(ds.getPathWaves(1).size(), 3u);
        EXPECT_EQ(ds.getPathWaves(0)[0], counting(0.0, 10));
        EXPECT_EQ(ds.getPathWaves(0)[2], counting(20.0, 10));
        EXPECT_EQ(ds.getPathWaves(1)[1], counting(40.0, 10));
        EXPECT_EQ(ds.getPathMetaData(1, 0), (Column{7.0, 8.0, 9.0}));
        // The rows name their waves through the columns the dataset adds.
        EXPECT_EQ(dimensionsOf(ds.getMetaDataHeader()), (std::vector<std::string>{"frequency", "wave_id", "wave_size"}));
        EXPECT_EQ(ds.getWaveIds(), (Column{0.0, 1.0, 2.0}));
        EXPECT_EQ(ds.getWaveSizes(), (Column{10.0, 10.0, 10.0}));
        EXPECT_EQ(ds.getWaveForRow(1, 2), counting(50.0, 10));
    }
    // The wave-id layout finds no "wave_id" here and reads no waves.
    for (const std::size_t version : {std::size_t{0}, std::size_t{10}}) {
        const EisDataset ds = eisDatasetFromBinary(table, LiveDataHeaderEis(header), 3, JobInfo{}, version);
        EXPECT_TRUE(ds.getPathWaves(0).empty());
        EXPECT_EQ(ds.getMetaDataHeader().size(), 1u);
    }
}

TEST(EisBinaryTable, ProtocolVersionZeroUsesTheWaveIdLayout)
{
    const EisDataset ds = eisDatasetFromBinary(waveIdTable(), waveHeader(), 4, JobInfo{}, 0);
    EXPECT_EQ(ds.getPathWaves(1), (Columns{CURRENT_WAVE_0, CURRENT_WAVE_1}));
}

TEST(EisBinaryTable, RowCountFromTheSizeWhenNotGiven)
{
    // 3 meta columns and an impedance of 2: 43 values make 8 rows; the last
    // 3 values are ignored.
    const LiveDataHeaderEis header =
        eisHeader({column("frequency", "Hz"), column("time", "s"), column("periods")}, {impedanceHeader()}, {});
    const EisDataset ds = eisDatasetFromBinary(littleEndian(counting(0.0, 43)), LiveDataHeaderEis(header), 0, JobInfo{}, 12);
    EXPECT_EQ(ds.getRowCount(), 8u);
    EXPECT_EQ(ds.getTimes(), counting(8.0, 8));
    EXPECT_EQ(ds.getImpedancesMetaData(0, 1), counting(32.0, 8));

    const EisDataset empty = eisDatasetFromBinary("1234567", LiveDataHeaderEis(header), 0, JobInfo{}, 12);
    EXPECT_EQ(empty.getRowCount(), 0u);
    EXPECT_EQ(empty.getMetaDataHeader().size(), 3u);
    EXPECT_EQ(empty.getMetaColumn(2), Column{});
}

// A row count beyond the number of values is derived from the size, as for
// 0: a forged count allocates nothing beyond the table. A count the table
// holds values for is kept, and the columns that do not fit whole are zeros.
TEST(EisBinaryTable, RowCountBeyondTheTableIsDerived)
{
    const LiveDataHeaderEis header = eisHeader({column("frequency", "Hz"), column("time", "s")}, {}, {});
    const std::string table = concat({{1.0, 2.0, 3.0}, {4.0, 5.0, 6.0}});
    for (const std::size_t declared :
         {std::size_t{7}, std::size_t{1} << 40, std::numeric_limits<std::size_t>::max()}) {
        const EisDataset ds = eisDatasetFromBinary(table, LiveDataHeaderEis(header), declared, JobInfo{}, 12);
        EXPECT_EQ(ds.getRowCount(), 3u) << declared;
        EXPECT_EQ(ds.getTimes(), (Column{4.0, 5.0, 6.0}));
    }

    struct Kept {
        std::size_t declared;
        Column frequencies;
        Column times;
    };
    for (const auto& c : {Kept{2, {1.0, 2.0}, {3.0, 4.0}},
                          Kept{4, {1.0, 2.0, 3.0, 4.0}, {0.0, 0.0, 0.0, 0.0}},
                          Kept{6, {1.0, 2.0, 3.0, 4.0, 5.0, 6.0}, Column(6, 0.0)}}) {
        const EisDataset ds = eisDatasetFromBinary(table, LiveDataHeaderEis(header), c.declared, JobInfo{}, 12);
        EXPECT_EQ(ds.getRowCount(), c.declared);
        EXPECT_EQ(ds.getFrequencies(), c.frequencies) << c.declared;
        EXPECT_EQ(ds.getTimes(), c.times) << c.declared;
    }

    // Huge counts with the fixed-size layout and no columns at all.
    const LiveDataHeaderEis onlyPaths =
        eisHeader({}, {}, {PathDataHeader("P:1", "voltage", {}, UserPolynomial())});
    const EisDataset waves = eisDatasetFromBinary(table, LiveDataHeaderEis(onlyPaths),
                                                  std::numeric_limits<std::size_t>::max(), JobInfo{}, 5);
    EXPECT_EQ(waves.getRowCount(), 0u);
    EXPECT_TRUE(waves.getPathWaves(0).empty());
}

struct ForgedWaveCase {
    const char* name;
    Column waveIds;
    Column waveSizes;
    // Lengths of the waves expected on the one sync path.
    std::vector<std::size_t> expectedLengths;
};

class EisBinaryForgedWaves : public ::testing::TestWithParam<ForgedWaveCase> {};

// Wave ids and sizes are doubles from the table: anything that is no usable
// count names no wave or a wave of no samples, and nothing allocates beyond
// what the table holds.
TEST_P(EisBinaryForgedWaves, ReadWithoutTrustingTheBookkeeping)
{
    const auto& c = GetParam();
    const std::size_t rows = c.waveIds.size();
    const LiveDataHeaderEis header = eisHeader({column("wave_id"), column("wave_size")}, {},
                                               {PathDataHeader("P:1", "voltage", {}, UserPolynomial())});
    const std::string table = concat({c.waveIds, c.waveSizes, counting(1.0, 8)});
    const EisDataset ds = eisDatasetFromBinary(table, LiveDataHeaderEis(header), rows, JobInfo{}, WAVE_ID_LAYOUT);
    std::vector<std::size_t> lengths;
    for (const auto& wave : ds.getPathWaves(0)) {
        lengths.push_back(wave.size());
    }
    EXPECT_EQ(lengths, c.expectedLengths);
    EXPECT_EQ(ds.getRowCount(), rows);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EisBinaryForgedWaves,
    ::testing::Values(ForgedWaveCase{"NaNId", {NaN, 0.0}, {4.0, 2.0}, {2}},
                      ForgedWaveCase{"InfiniteIds", {INF, -INF, 0.0}, {4.0, 4.0, 3.0}, {3}},
                      ForgedWaveCase{"HugeId", {1e300, 0.0}, {1.0, 1.0}, {1}},
                      ForgedWaveCase{"IdBeyondTheTable", {1e15, 9.0e18, 0.0}, {1.0, 1.0, 2.0}, {2}},
                      ForgedWaveCase{"NegativeId", {-3.0, 0.0}, {5.0, 1.0}, {1}},
                      ForgedWaveCase{"NaNSize", {0.0, 1.0}, {NaN, 3.0}, {0, 3}},
                      ForgedWaveCase{"NegativeSize", {0.0, 1.0}, {-5.0, 2.0}, {0, 2}},
                      // A size beyond the table leaves its wave empty and the
                      // later ones cannot be placed.
                      ForgedWaveCase{"HugeSize", {0.0, 1.0}, {1e300, 2.0}, {0, 0}},
                      ForgedWaveCase{"SizeBeyondTheData", {0.0, 1.0}, {2.0, 7.0}, {2, 0}},
                      ForgedWaveCase{"GapsInIdsAreEmptyWaves", {0.0, 2.0}, {3.0, 1.0}, {3, 0, 1}}),
    [](const auto& info) { return info.param.name; });

TEST(EisBinaryTable, TruncatedTableLeavesWavesItCannotHoldEmpty)
{
    std::string table = waveIdTable();
    table.resize(table.size() - 8 * 3);
    const EisDataset ds = eisDatasetFromBinary(table, waveHeader(), 4, JobInfo{}, WAVE_ID_LAYOUT);
    EXPECT_EQ(ds.getPotentiostatsMetaData(0, 0), POT_DC);
    EXPECT_EQ(ds.getPathWaves(0), (Columns{VOLTAGE_WAVE_0, VOLTAGE_WAVE_1}));
    EXPECT_EQ(ds.getPathWaves(1), (Columns{CURRENT_WAVE_0, Column{}}));
}

TEST(EisBinaryWriter, WritesTheTableByteForByte)
{
    EisData data;
    data.meta = {FREQUENCY, WAVE_IDS, WAVE_SIZES};
    data.impedances = {{MAGNITUDE, PHASE}};
    data.paths = {{VOLTAGE_DC}, {CURRENT_DC}};
    data.pathWaves = {{VOLTAGE_WAVE_0, VOLTAGE_WAVE_1}, {CURRENT_WAVE_0, CURRENT_WAVE_1}};
    data.asyncPaths = {{ASYNC_DC}};
    data.potentiostats = {{POT_DC}};
    const EisDataset ds = makeEis(waveHeader(), std::move(data));
    const auto table = eisDatasetToBinary(ds);
    ASSERT_TRUE(table.has_value()) << std::get<std::string>(table.error().getMessageParameters().at(0));
    EXPECT_EQ(table->data, waveIdTable());
    EXPECT_EQ(table->number_of_rows, 4u);
    EXPECT_EQ(table->header.getMetaColumns(), waveHeader().getMetaColumns());
    EXPECT_EQ(table->header, waveHeader());
    EXPECT_EQ(table->header.getMeasurementType(), "Electrochemical Impedance Spectroscopy");
}

TEST(EisBinaryWriter, RoundTripsThroughTheReader)
{
    // Without waves: no wave block and no columns added.
    const EisDataset plain = makeEis(standardHeader(), standardData());
    const auto plainTable = eisDatasetToBinary(plain);
    ASSERT_TRUE(plainTable.has_value());
    EXPECT_EQ(plainTable->data.size(), 3u * 9u * 8u);
    EXPECT_EQ(plainTable->header.getMetaColumns(), standardHeader().getMetaColumns());

    // With waves that the dataset numbers itself.
    EisData data = standardData();
    data.pathWaves = {{Column{1.0, 2.0}, Column{3.0}, Column{4.0, 5.0, 6.0}}, {Column{7.0, 8.0}, Column{9.0}, Column{10.0, 11.0, 12.0}}};
    const EisDataset withWaves = makeEis(standardHeader(), std::move(data));

    for (const EisDataset* original : {&plain, &withWaves}) {
        const auto table = eisDatasetToBinary(*original);
        ASSERT_TRUE(table.has_value());
        const EisDataset back = eisDatasetFromBinary(table->data, LiveDataHeaderEis(table->header),
                                                     table->number_of_rows, JobInfo{}, WAVE_ID_LAYOUT);
        EXPECT_EQ(back.getRowCount(), original->getRowCount());
        EXPECT_EQ(back.getMetaDataHeader(), original->getMetaDataHeader());
        for (std::size_t i = 0; i < original->getMetaDataHeader().size(); ++i) {
            EXPECT_EQ(back.getMetaColumn(i), original->getMetaColumn(i));
        }
        EXPECT_EQ(back.getImpedances(), original->getImpedances());
        for (std::size_t k = 0; k < 2; ++k) {
            EXPECT_EQ(back.getPathMetaData(k, 0), original->getPathMetaData(k, 0));
            EXPECT_EQ(back.getPathMetaData(k, 1), original->getPathMetaData(k, 1));
            EXPECT_EQ(back.getPathWaves(k), original->getPathWaves(k));
        }
        EXPECT_EQ(back.getPotentiostatsMetaData(0, 0), original->getPotentiostatsMetaData(0, 0));
    }
}

TEST(EisBinaryWriter, MakesBothWaveColumnsWhenOneIsMissing)
{
    // "wave_id" without "wave_size": the writer adds the pair at the end and
    // the reader, taking the first "wave_id", still finds every wave.
    EisData data;
    data.meta = {{10.0, 20.0}, {1.0, 0.0}};
    data.paths = {{{0.5, 0.6}}};
    data.pathWaves = {{Column{1.0, 2.0}, Column{3.0}}};
    const EisDataset ds = makeEis(
        eisHeader({column("frequency", "Hz"), column("wave_id")}, {},
                  {PathDataHeader("P:1", "voltage", {column("dc")}, UserPolynomial())}),
        std::move(data));
    const auto table = eisDatasetToBinary(ds);
    ASSERT_TRUE(table.has_value());
    EXPECT_EQ(dimensionsOf(table->header.getMetaColumns()),
              (std::vector<std::string>{"frequency", "wave_id", "wave_id", "wave_size"}));
    const EisDataset back = eisDatasetFromBinary(table->data, LiveDataHeaderEis(table->header), table->number_of_rows,
                                                 JobInfo{}, WAVE_ID_LAYOUT);
    EXPECT_EQ(back.getMetaColumn(3), (Column{1.0, 2.0}));
    EXPECT_EQ(back.getWaveForRow(0, 0), Column{3.0});
    EXPECT_EQ(back.getWaveForRow(0, 1), (Column{1.0, 2.0}));
}

struct ShortColumnCase {
    const char* name;
    void (*damage)(EisData&);
    const char* message;
};

class EisBinaryWriterRefuses : public ::testing::TestWithParam<ShortColumnCase> {};

// A column that does not hold one value per row would shift every later
// column of the flat table; the writer names it instead of writing.
TEST_P(EisBinaryWriterRefuses, AColumnThatDoesNotHoldOneValuePerRow)
{
    EisData data = standardData();
    GetParam().damage(data);
    const auto table = eisDatasetToBinary(makeEis(standardHeader(), std::move(data)));
    ASSERT_FALSE(table.has_value());
    EXPECT_EQ(table.error().getErrorCodeEnum(), ErrorCodeEnum::RESOURCE_CONTENT_INVALID);
    EXPECT_EQ(table.error().getMessageFormatString(), "resource content invalid: {0}");
    ASSERT_EQ(table.error().getMessageParameters().size(), 1u);
    EXPECT_EQ(std::get<std::string>(table.error().getMessageParameters()[0]), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Columns, EisBinaryWriterRefuses,
    ::testing::Values(
        ShortColumnCase{"Meta", [](EisData& d) { d.meta[1].pop_back(); },
                        "EIS meta column 'time' has 2 values but the dataset has 3 rows"},
        ShortColumnCase{"Impedance", [](EisData& d) { d.impedances[0][1].pop_back(); },
                        "EIS impedance 0 column 'phase' has 2 values but the dataset has 3 rows"},
        ShortColumnCase{"ImpedanceMissing", [](EisData& d) { d.impedances[0].pop_back(); },
                        "EIS impedance 0 column 'phase' has 0 values but the dataset has 3 rows"},
        ShortColumnCase{"SyncPath", [](EisData& d) { d.paths[1][1].push_back(1.0); },
                        "EIS sync path 1 column 'amplitude' has 4 values but the dataset has 3 rows"},
        ShortColumnCase{"Potentiostat", [](EisData& d) { d.potentiostats.clear(); },
                        "EIS potentiostat 0 column 'dc' has 0 values but the dataset has 3 rows"}),
    [](const auto& info) { return info.param.name; });

TEST(EisBinaryWriter, RefusesAShortAsyncPathColumn)
{
    EisData data = standardData();
    data.asyncPaths = {{{1.0, 2.0}}};
    LiveDataHeaderEis header = eisHeader(standardHeader().getMetaColumns(), standardHeader().getImpedances(),
                                         standardHeader().getPaths(),
                                         {PathDataHeader("AUX:1:T", "temp", {column("dc")}, UserPolynomial())},
                                         standardHeader().getPotentiostats());
    const auto table = eisDatasetToBinary(makeEis(std::move(header), std::move(data)));
    ASSERT_FALSE(table.has_value());
    EXPECT_EQ(std::get<std::string>(table.error().getMessageParameters().at(0)),
              "EIS async path 0 column 'dc' has 2 values but the dataset has 3 rows");
}

TEST(EisBinaryWriter, RefusesWavesThatDoNotMatchTheirBookkeeping)
{
    const auto failureOf = [](Columns voltageWaves) {
        EisData data;
        data.meta = {FREQUENCY, WAVE_IDS, WAVE_SIZES};
        data.impedances = {{MAGNITUDE, PHASE}};
        data.paths = {{VOLTAGE_DC}, {CURRENT_DC}};
        data.pathWaves = {std::move(voltageWaves), {CURRENT_WAVE_0, CURRENT_WAVE_1}};
        data.asyncPaths = {{ASYNC_DC}};
        data.potentiostats = {{POT_DC}};
        const auto table = eisDatasetToBinary(makeEis(waveHeader(), std::move(data)));
        EXPECT_FALSE(table.has_value());
        return table.has_value() ? std::string() : std::get<std::string>(table.error().getMessageParameters().at(0));
    };
    EXPECT_EQ(failureOf({VOLTAGE_WAVE_0}), "sync path 0 holds 1 waves but the meta columns declare 2");
    EXPECT_EQ(failureOf({VOLTAGE_WAVE_0, counting(0.0, 5)}),
              "wave 1 of sync path 0 has 5 samples but wave_size declares 6");
}
