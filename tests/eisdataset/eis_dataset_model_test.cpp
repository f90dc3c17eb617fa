#include "eis_test_support.hpp"

#include <gtest/gtest.h>

#include <memory>

using namespace eis_test;

TEST(EisDatasetModel, EmptyDatasetAnswersWithSentinels)
{
    for (const EisDataset& ds : {EisDataset(), makeEis(LiveDataHeaderEis(), {})}) {
        EXPECT_EQ(ds.getRowCount(), 0u);
        EXPECT_EQ(&ds.getFrequencies(), &EisDataset::EMPTY_TRACK);
        EXPECT_EQ(&ds.getMetaColumn(0), &EisDataset::EMPTY_TRACK);
        EXPECT_EQ(&ds.getImpedanceData(), &EisDataset::INVALID_IMPEDANCE_DATA);
        EXPECT_EQ(&ds.getPathData("voltage"), &EisDataset::INVALID_PATH);
        EXPECT_EQ(&ds.getPotentiostatData(), &EisDataset::INVALID_POTENTIOSTAT);
        EXPECT_EQ(&ds.getPathWaves(0), &EisDataset::EMPTY_TRACKWAVE);
        EXPECT_EQ(&ds.getWaveForRow(0, 0), &EisDataset::EMPTY_TRACK);
        EXPECT_EQ(ds.getWaveIdForRow(5), 5);
        EXPECT_TRUE(ds.getImpedances(0).empty());
        EXPECT_TRUE(ds.getPathsData().empty());
        EXPECT_TRUE(ds.getImpedancesData().empty());
        EXPECT_TRUE(ds.getPotentiostatsData().empty());
        const DatasetInfo info = ds.getInfo();
        EXPECT_EQ(info.type, DatasetType::AC);
        EXPECT_EQ(info.num_rows, 0u);
        EXPECT_TRUE(std::isnan(info.first_time_value));
    }
    EXPECT_EQ(&EisDataset::INVALID_PATH.getWaves(), &EisDataset::EMPTY_TRACKWAVE);
    EXPECT_EQ(&EisDataset::INVALID_IMPEDANCE_DATA.getFrequencies(), &EisDataset::EMPTY_TRACK);
}

TEST(EisDatasetModel, TrackQueriesAndInfo)
{
    const EisDataset ds = makeEis(standardHeader(), standardData(), "j-7");
    EXPECT_EQ(ds.getRowCount(), 3u);
    EXPECT_EQ(ds.getFrequencies(), (Column{1000.0, 100.0, 10.0}));
    EXPECT_EQ(ds.getTimes(), (Column{0.5, 1.5, 2.5}));
    EXPECT_EQ(&ds.getPeriods(), &EisDataset::EMPTY_TRACK);
    EXPECT_EQ(&ds.getWaveIds(), &EisDataset::EMPTY_TRACK);
    EXPECT_EQ(ds.getImpedancesMetaData(0, 1), (Column{0.0, -0.25, -0.5}));
    EXPECT_EQ(ds.getPathDcValues(1), (Column{1e-3, 2e-3, 3e-3}));
    EXPECT_EQ(ds.getPotentiostatsMetaData(0, 0), (Column{0.7, 0.8, 0.9}));
    EXPECT_EQ(&ds.getImpedancesMetaData(1, 0), &EisDataset::EMPTY_TRACK);
    EXPECT_EQ(&ds.getImpedancesMetaData(0, 2), &EisDataset::EMPTY_TRACK);
    EXPECT_EQ(&ds.getAsyncPathData(0, 0), &EisDataset::EMPTY_TRACK);
    EXPECT_EQ(&ds.getPathDcValues(2), &EisDataset::EMPTY_TRACK);

    const DatasetInfo info = ds.getInfo();
    EXPECT_EQ(info.job_type, "Electrochemical Impedance Spectroscopy");
    EXPECT_EQ(info.job_type_short, "EIS");
    EXPECT_EQ(info.num_rows, 3u);
    EXPECT_EQ(info.first_time_value, 0.5);
    EXPECT_EQ(info.jobInfo.jobId, "j-7");

    const auto z = ds.getImpedances(0);
    ASSERT_EQ(z.size(), 3u);
    EXPECT_EQ(z[0], std::complex<double>(10.0, 0.0));
    EXPECT_EQ(z[1], std::polar(20.0, -0.25));
    EXPECT_EQ(z[2], std::polar(30.0, -0.5));
}

TEST(EisDatasetModel, ViewsByNameAndPair)
{
    const EisDataset ds = makeEis(standardHeader(), standardData());
    EXPECT_EQ(ds.getPathsDimensions(), (std::vector<std::string>{"current", "voltage"}));
    EXPECT_EQ(ds.getPotentiostatsIdentifiers(), (std::vector<std::string>{"MAIN:1:POT"}));
    EXPECT_EQ(ds.getImpedancesDimensions(), (std::vector<EisDataset::ImpedanceKey>{{"voltage", "current"}}));
    EXPECT_EQ(ds.getImpedancesNames(), (std::vector<std::string>{"MAIN.1.U/MAIN.1.I"}));

    const auto& impedance = ds.getImpedanceData("voltage", "current");
    EXPECT_EQ(impedance.getNumeratorDimension(), "voltage");
    EXPECT_EQ(impedance.getDenominatorDimension(), "current");
    EXPECT_EQ(&impedance.getTrack("|impedance|"), &ds.getImpedancesMetaData(0, 0));
    EXPECT_EQ(&impedance.getFrequencies(), &ds.getFrequencies());
    EXPECT_EQ(&impedance.getTrack("nothing"), &EisDataset::EMPTY_TRACK);
    EXPECT_EQ(&ds.getImpedanceData("current"), &impedance);
    EXPECT_EQ(&ds.getImpedanceDataByName("MAIN.1.U/MAIN.1.I"), &impedance);
    EXPECT_EQ(&ds.getImpedanceData("current", "voltage"), &EisDataset::INVALID_IMPEDANCE_DATA);
    EXPECT_EQ(&ds.getImpedanceData("power"), &EisDataset::INVALID_IMPEDANCE_DATA);
    EXPECT_EQ(&ds.getImpedanceDataByName("Z"), &EisDataset::INVALID_IMPEDANCE_DATA);

    const auto& current = ds.getPathData("current");
    EXPECT_EQ(current.getDimension(), "current");
    EXPECT_EQ(&current.getDcTrack(), &ds.getPathMetaData(1, 0));
    EXPECT_EQ(&current.getTrack("amplitude"), &ds.getPathMetaData(1, 1));
    EXPECT_EQ(&current.getWaves(), &ds.getPathWaves(1));
    EXPECT_EQ(current.getImpedanceData().getImpedanceName(), "MAIN.1.U/MAIN.1.I");
    EXPECT_EQ(current.getImpedanceData("voltage").getImpedanceName(), "MAIN.1.U/MAIN.1.I");
    EXPECT_EQ(&current.getImpedanceData("power"), &EisDataset::INVALID_IMPEDANCE_DATA);

    EXPECT_EQ(&ds.getPotentiostatData(), &ds.getPotentiostatData("MAIN:1:POT"));
    EXPECT_EQ(&ds.getPotentiostatData().getTrack("dc"), &ds.getPotentiostatsMetaData(0, 0));
    EXPECT_EQ(&ds.getPotentiostatData("MAIN:2:POT"), &EisDataset::INVALID_POTENTIOSTAT);
}

TEST(EisDatasetModel, FirstWinsForDuplicatesAndUnknownUris)
{
    // Two paths share a URI, two impedances share a pair, one impedance names
    // an unknown path, an async path is named like a sync path, and the
    // potentiostat lists a column twice.
    PotentiostatDataHeader potentiostat = potentiostatHeader();
    potentiostat.columns = {column("dc", "V"), column("shunt"), column("dc", "V")};
    LiveDataHeaderEis header = eisHeader(
        {column("frequency", "Hz")},
        {impedanceHeader("MAIN:1:U", "MAIN:1:I", "first"), impedanceHeader("MAIN:1:U", "MAIN:1:I", "second"),
         impedanceHeader("AUX:9:X", "MAIN:1:I", "unknown")},
        {pathHeader("MAIN:1:U", "voltage"), pathHeader("MAIN:1:U", "voltage2"), pathHeader("MAIN:1:I", "current")},
        {pathHeader("ASYNC:1:T", "voltage")}, {potentiostat});
    EisData data;
    data.meta = {{1.0}};
    data.impedances = {{{1.0}, {0.1}}, {{2.0}, {0.2}}, {{3.0}, {0.3}}};
    data.paths = {{{10.0}, {0.0}}, {{20.0}, {0.0}}, {{30.0}, {0.0}}};
    data.asyncPaths = {{{40.0}, {0.0}}};
    data.potentiostats = {{{5.0}, {6.0}, {7.0}}};
    const EisDataset ds = makeEis(std::move(header), std::move(data));

    EXPECT_EQ(ds.getImpedanceData("voltage", "current").getImpedanceName(), "first");
    EXPECT_EQ(ds.getImpedanceData("AUX:9:X", "current").getImpedanceName(), "unknown");
    EXPECT_EQ(ds.getImpedancesData().size(), 2u);
    EXPECT_EQ(ds.getPathData("voltage").getImpedancesData().size(), 1u);
    EXPECT_TRUE(ds.getPathData("voltage2").getImpedancesData().empty());
    EXPECT_EQ(ds.getPathData("current").getImpedancesData().size(), 2u);
    EXPECT_EQ(ds.getPathData("voltage").getDcTrack(), (Column{10.0}));
    EXPECT_EQ(ds.getPathData("voltage2").getDcTrack(), (Column{20.0}));
    const auto& tracks = ds.getPotentiostatData().getTracks();
    EXPECT_EQ(tracks.size(), 2u);
    EXPECT_EQ(ds.getPotentiostatData().getTrack("dc"), (Column{5.0}));
}

TEST(EisDatasetModel, WaveColumnsAreMadeForWavesWithoutBookkeeping)
{
    EisData data = standardData();
    data.pathWaves = {{Column(4, 1.0), Column(6, 2.0)}, {}};
    const EisDataset ds = makeEis(standardHeader(), std::move(data));
    EXPECT_EQ(dimensionsOf(ds.getMetaDataHeader()),
              (std::vector<std::string>{"frequency", "time", "wave_id", "wave_size"}));
    EXPECT_EQ(ds.getWaveIds(), (Column{0.0, 1.0, -1.0}));
    EXPECT_EQ(ds.getWaveSizes(), (Column{4.0, 6.0, 0.0}));
    EXPECT_EQ(ds.getWaveForRow(0, 1), Column(6, 2.0));
    EXPECT_EQ(ds.getWaveForRow("voltage", 0), Column(4, 1.0));
    EXPECT_EQ(&ds.getWaveForRow("voltage", 2), &EisDataset::EMPTY_TRACK);
    EXPECT_EQ(&ds.getWaveForRow(1, 0), &EisDataset::EMPTY_TRACK);
    EXPECT_EQ(&ds.getWaveForRow(2, 0), &EisDataset::EMPTY_TRACK);

    // Meta tracks that do not match their headers get no columns added.
    EisData ragged = standardData();
    ragged.meta.pop_back();
    ragged.pathWaves = {{Column(4, 1.0)}};
    const EisDataset left = makeEis(standardHeader(), std::move(ragged));
    EXPECT_EQ(left.getMetaDataHeader().size(), 2u);
    EXPECT_EQ(&left.getWaveIds(), &EisDataset::EMPTY_TRACK);
}

struct WaveIdCase {
    double value;
    std::int64_t expected;
};

class EisWaveIdForRow : public ::testing::TestWithParam<WaveIdCase> {};

TEST_P(EisWaveIdForRow, RoundsHalvesAwayAndRejectsWhatIsNoNumber)
{
    EisData data;
    data.meta = {{GetParam().value}, {0.0}};
    data.pathWaves = {{Column{1.0}, Column{2.0}, Column{3.0}, Column{4.0}}};
    const EisDataset ds =
        makeEis(eisHeader({column("wave_id"), column("wave_size")}, {}, {pathHeader("P:1", "voltage")}),
                std::move(data));
    EXPECT_EQ(ds.getWaveIdForRow(0), GetParam().expected);
    EXPECT_EQ(ds.getWaveIdForRow(1), 1) << "a row beyond the wave-id track names itself";
    const auto& wave = ds.getWaveForRow(0, 0);
    if (GetParam().expected >= 0 && GetParam().expected < 4) {
        EXPECT_EQ(wave, Column{static_cast<double>(GetParam().expected + 1)});
    } else {
        EXPECT_EQ(&wave, &EisDataset::EMPTY_TRACK);
    }
}

INSTANTIATE_TEST_SUITE_P(Values, EisWaveIdForRow,
                         ::testing::Values(WaveIdCase{2.5, 3}, WaveIdCase{1.49, 1}, WaveIdCase{-1.0, -1},
                                           WaveIdCase{-2.5, -3}, WaveIdCase{NaN, -1}, WaveIdCase{INF, -1},
                                           WaveIdCase{-INF, -1}, WaveIdCase{1e300, -1}, WaveIdCase{7.0, 7}));

struct PolarCase {
    double magnitude;
    double phase;
    double real;
    double imaginary;
};

class EisComplexImpedance : public ::testing::TestWithParam<PolarCase> {};

TEST_P(EisComplexImpedance, FollowsTheStandardRulesWherePolarIsUndefined)
{
    const auto& c = GetParam();
    EisData data;
    data.meta = {{10.0}};
    data.impedances = {{{c.magnitude}, {c.phase}}};
    const EisDataset ds =
        makeEis(eisHeader({column("frequency", "Hz")}, {impedanceHeader()}, {}), std::move(data));
    for (const auto& z : {ds.getImpedances(0), ds.getImpedanceData().getCalculatedComplexImpedanceTrack()}) {
        ASSERT_EQ(z.size(), 1u);
        EXPECT_TRUE(sameValues({z[0].real(), z[0].imag()}, {c.real, c.imaginary}))
            << z[0].real() << ", " << z[0].imag();
    }
}

INSTANTIATE_TEST_SUITE_P(Values, EisComplexImpedance,
                         ::testing::Values(PolarCase{2.0, 0.0, 2.0, 0.0}, PolarCase{-1.0, 0.0, NaN, NaN},
                                           PolarCase{-0.0, 0.0, NaN, NaN}, PolarCase{NaN, 0.0, NaN, NaN},
                                           PolarCase{INF, NaN, INF, NaN}, PolarCase{1.0, NaN, NaN, NaN},
                                           PolarCase{INF, INF, INF, NaN}, PolarCase{1.0, -INF, NaN, NaN},
                                           PolarCase{INF, 0.0, INF, 0.0}));

TEST(EisDatasetModel, SpectraKeepTheLaterValueOfARepeatedFrequency)
{
    EisData data;
    data.meta = {{10.0, 10.0, 20.0}};
    data.impedances = {{{1.0, 2.0, 3.0}, {0.0, 0.0, 0.0}}};
    const EisDataset ds =
        makeEis(eisHeader({column("frequency", "Hz")}, {impedanceHeader()}, {}), std::move(data));
    const auto spectra = ds.getImpedanceData().getCalculatedSpectra();
    ASSERT_EQ(spectra.size(), 2u);
    EXPECT_EQ(spectra.at(10.0), std::complex<double>(2.0, 0.0));
    EXPECT_EQ(spectra.at(20.0), std::complex<double>(3.0, 0.0));
    EXPECT_TRUE(EisDataset::INVALID_IMPEDANCE_DATA.getCalculatedSpectra().empty());
}

// A dataset whose tracks do not match its header: queries answer from what
// is there and never read past a track or throw.
TEST(EisDatasetModel, MalformedDatasetNeverReadsPastATrack)
{
    // The phase track is shorter than the magnitude track.
    EisData shortPhase;
    shortPhase.meta = {{1.0, 2.0, 3.0}};
    shortPhase.impedances = {{{1.0, 2.0, 3.0}, {0.0}}};
    const EisDataset a = makeEis(eisHeader({column("frequency", "Hz")}, {impedanceHeader()}, {}), std::move(shortPhase));
    EXPECT_EQ(a.getImpedances(0).size(), 1u);
    EXPECT_TRUE(a.getImpedanceData().getCalculatedComplexImpedanceTrack().empty());
    EXPECT_TRUE(a.getImpedanceData().getCalculatedSpectra().empty());

    // The second impedance lacks the columns the first one's layout names.
    EisData missingColumns;
    missingColumns.meta = {{1.0}};
    missingColumns.impedances = {{{1.0}, {0.0}}, {}};
    const EisDataset b = makeEis(
        eisHeader({column("frequency", "Hz")}, {impedanceHeader(), impedanceHeader("A", "B")}, {}),
        std::move(missingColumns));
    EXPECT_TRUE(b.getImpedances(1).empty());
    EXPECT_EQ(&b.getImpedanceData("A", "B").getTrack("phase"), &EisDataset::EMPTY_TRACK);

    // Fewer meta tracks than meta headers: time and frequency have no track.
    EisData fewMeta;
    fewMeta.meta = {{1.0}};
    const EisDataset c = makeEis(
        eisHeader({column("wave_id"), column("frequency", "Hz"), column("time", "s")}, {impedanceHeader()}, {}),
        std::move(fewMeta));
    EXPECT_TRUE(std::isnan(c.getInfo().first_time_value));
    EXPECT_EQ(&c.getFrequencies(), &EisDataset::EMPTY_TRACK);
    EXPECT_EQ(&c.getImpedanceData().getFrequencies(), &EisDataset::EMPTY_TRACK);

    // A NaN first time value is reported as it is.
    EisData nanTime;
    nanTime.meta = {{NaN}};
    const EisDataset d = makeEis(eisHeader({column("time", "s")}, {}, {}), std::move(nanTime));
    EXPECT_TRUE(std::isnan(d.getInfo().first_time_value));
    EXPECT_EQ(d.getInfo().num_rows, 1u);
}

TEST(EisDatasetModel, HeaderLookups)
{
    const EisDataset ds = makeEis(
        eisHeader({column("frequency", "Hz"), column("time", "s")}, {impedanceHeader(), impedanceHeader("A", "B")},
                  {PathDataHeader("EMPTY:1", "nothing", {}, UserPolynomial()), pathHeader("MAIN:1:U", "voltage")},
                  {PathDataHeader("EMPTY:2", "nothing", {}, UserPolynomial())}),
        {});
    const auto& meta = ds.getMetaDataHeader();
    EXPECT_EQ(EisDataset::indexOf(meta, column("time", "s")), 1);
    EXPECT_EQ(EisDataset::indexOf(meta, column("time", "ms")), -1);
    EXPECT_EQ(ds.indexOfColumnHeaderInHeaderVector(column("frequency", "Hz"), meta), 0);
    EXPECT_EQ(EisDataset::indexOfDimension(meta, "time"), 1);
    EXPECT_EQ(EisDataset::indexOfDimension(meta, "Time"), -1);
    EXPECT_EQ(ds.findIndexOfColumInImpedance("phase"), 1);
    EXPECT_EQ(ds.findIndexOfColumInPath("amplitude"), -1) << "only the first path's columns count";
    EXPECT_EQ(ds.findIndexOfColumInPotentiostat("dc"), -1);
    EXPECT_EQ(ds.indexOfImpedance(impedanceHeader("A", "B", "other name")), 1);
    EXPECT_EQ(ds.indexOfImpedance(impedanceHeader("B", "A")), -1);
    EXPECT_EQ(ds.indexOfDataHeaderWithUriInHeaderVector(pathHeader("MAIN:1:U", "any"), ds.getPathsDataHeaders()), 1);
    EXPECT_EQ(ds.indexOfDataHeaderWithUriInHeaderVector(
                  PathDataHeader("MAIN:1:U", "voltage", {column("dc", "V")}, UserPolynomial()),
                  ds.getPathsDataHeaders()),
              -1);
    // A path without columns is passed over instead of raising.
    EXPECT_EQ(ds.indexOfPathDimension("dc"), 1);
    EXPECT_EQ(ds.indexOfAsyncPathDimension("dc"), -1);
}

namespace {

// Every view of `ds` refers to `ds`'s own tracks.
void expectViewsInto(const EisDataset& ds)
{
    const auto& voltage = ds.getPathData("voltage");
    ASSERT_NE(&voltage, &EisDataset::INVALID_PATH);
    EXPECT_EQ(&voltage.getDcTrack(), &ds.getPathMetaData(0, 0));
    EXPECT_EQ(&voltage.getWaves(), &ds.getPathWaves(0));
    EXPECT_EQ(&voltage.getImpedanceData().getTrack("phase"), &ds.getImpedancesMetaData(0, 1));
    EXPECT_EQ(&ds.getImpedanceData().getTrack("|impedance|"), &ds.getImpedancesMetaData(0, 0));
    EXPECT_EQ(&ds.getImpedanceData().getFrequencies(), &ds.getFrequencies());
    EXPECT_EQ(&ds.getPotentiostatData().getTrack("dc"), &ds.getPotentiostatsMetaData(0, 0));
    EXPECT_EQ(voltage.getDcTrack(), (Column{0.1, 0.2, 0.3}));
    EXPECT_EQ(ds.getWaveForRow("voltage", 1), Column(2, 5.0));
}

void expectEmpty(const EisDataset& ds)
{
    EXPECT_EQ(ds.getRowCount(), 0u);
    EXPECT_TRUE(ds.getPathsData().empty());
    EXPECT_TRUE(ds.getImpedancesData().empty());
    EXPECT_TRUE(ds.getPotentiostatsData().empty());
    EXPECT_EQ(&ds.getFrequencies(), &EisDataset::EMPTY_TRACK);
}

std::unique_ptr<EisDataset> makeWithWaves()
{
    EisData data = standardData();
    data.pathWaves = {{Column(1, 4.0), Column(2, 5.0), Column(3, 6.0)}, {Column(1), Column(2), Column(3)}};
    return std::make_unique<EisDataset>(makeEis(standardHeader(), std::move(data)));
}

} // namespace

TEST(EisDatasetCopies, CopiesAndMovesOwnTheirViews)
{
    auto original = makeWithWaves();
    expectViewsInto(*original);

    const EisDataset copied(*original);
    EisDataset assigned;
    assigned = *original;
    original.reset();
    expectViewsInto(copied);
    expectViewsInto(assigned);

    EisDataset source(copied);
    EisDataset moved(std::move(source));
    expectViewsInto(moved);
    expectEmpty(source);

    EisDataset moveAssigned;
    moveAssigned = std::move(moved);
    expectViewsInto(moveAssigned);
    expectEmpty(moved);

    EisDataset& self = assigned;
    assigned = self;
    expectViewsInto(assigned);
    assigned = std::move(self);
    expectViewsInto(assigned);
}

TEST(EisDatasetCopies, RebuildingViewsKeepsThemValid)
{
    auto ds = makeWithWaves();
    ds->createHelperObjects();
    expectViewsInto(*ds);
}
