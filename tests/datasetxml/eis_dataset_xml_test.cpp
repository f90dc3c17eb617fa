#include "xml_dataset_support.hpp"

#include "marlek_link_json/jobs/ac/dataset/eis_dataset.hpp"
#include "marlek_link_json/jobs/ac/dataset/eis_xml_elements.hpp"
#include "../eisdataset/eis_test_support.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace xml_dataset_test;
using namespace eis_test;

namespace {

std::vector<std::pair<std::string, std::string>> dimensionsAndUnits(const std::vector<ColumnHeader>& columns)
{
    std::vector<std::pair<std::string, std::string>> result;
    for (const auto& column : columns) {
        result.emplace_back(column.dimension, column.unit);
    }
    return result;
}

void expectSameGroups(const EisDataset& read, const EisDataset& written,
                      const std::vector<double>& (EisDataset::*track)(std::size_t, std::size_t) const,
                      std::size_t objects, std::size_t columns, const char* kind)
{
    for (std::size_t i = 0; i < objects; ++i) {
        for (std::size_t c = 0; c < columns; ++c) {
            EXPECT_TRUE(sameValues((read.*track)(i, c), (written.*track)(i, c))) << kind << " " << i << "/" << c;
        }
    }
}

// Equal as far as the XML form carries: column URNs come back as the group
// key of their object.
void expectSameEis(const EisDataset& read, const EisDataset& written)
{
    EXPECT_EQ(read.getHeader().getMeasurementType(), written.getHeader().getMeasurementType());
    EXPECT_EQ(read.getHeader().getShortMeasurementType(), written.getHeader().getShortMeasurementType());
    EXPECT_EQ(dimensionsAndUnits(read.getMetaDataHeader()), dimensionsAndUnits(written.getMetaDataHeader()));
    ASSERT_EQ(read.getPathsDataHeaders().size(), written.getPathsDataHeaders().size());
    for (std::size_t i = 0; i < read.getPathsDataHeaders().size(); ++i) {
        const auto& a = read.getPathsDataHeaders()[i];
        const auto& b = written.getPathsDataHeaders()[i];
        EXPECT_EQ(a.getUri(), b.getUri());
        EXPECT_EQ(a.getName(), b.getName());
        EXPECT_EQ(a.getPolynomial(), b.getPolynomial());
        EXPECT_EQ(dimensionsAndUnits(a.getColumns()), dimensionsAndUnits(b.getColumns()));
        EXPECT_EQ(read.getPathWaves(i), written.getPathWaves(i)) << "waves of path " << i;
    }
    ASSERT_EQ(read.getImpedancesHeaders().size(), written.getImpedancesHeaders().size());
    for (std::size_t i = 0; i < read.getImpedancesHeaders().size(); ++i) {
        const auto& a = read.getImpedancesHeaders()[i];
        const auto& b = written.getImpedancesHeaders()[i];
        EXPECT_EQ(a, b);
        EXPECT_EQ(a.getImpedanceName(), b.getImpedanceName());
        EXPECT_EQ(dimensionsAndUnits(a.getColumns()), dimensionsAndUnits(b.getColumns()));
    }
    ASSERT_EQ(read.getAsyncPathsDataHeaders().size(), written.getAsyncPathsDataHeaders().size());
    ASSERT_EQ(read.getPotentiostatsDataHeaders().size(), written.getPotentiostatsDataHeaders().size());
    for (std::size_t i = 0; i < read.getPotentiostatsDataHeaders().size(); ++i) {
        EXPECT_EQ(read.getPotentiostatsDataHeaders()[i].uri, written.getPotentiostatsDataHeaders()[i].uri);
        EXPECT_EQ(read.getPotentiostatsDataHeaders()[i].polynomial,
                  written.getPotentiostatsDataHeaders()[i].polynomial);
    }
    ASSERT_EQ(read.getRowCount(), written.getRowCount());
    for (std::size_t c = 0; c < written.getMetaDataHeader().size(); ++c) {
        EXPECT_TRUE(sameValues(read.getMetaColumn(c), written.getMetaColumn(c))) << "meta " << c;
    }
    expectSameGroups(read, written, &EisDataset::getPathMetaData, read.getPathsDataHeaders().size(), 2, "path");
    expectSameGroups(read, written, &EisDataset::getImpedancesMetaData, read.getImpedancesHeaders().size(), 2,
                     "impedance");
    expectSameGroups(read, written, &EisDataset::getAsyncPathData, read.getAsyncPathsDataHeaders().size(), 2,
                     "async path");
    expectSameGroups(read, written, &EisDataset::getPotentiostatsMetaData,
                     read.getPotentiostatsDataHeaders().size(), 1, "potentiostat");
    EXPECT_EQ(read.getJobInfo().jobId, written.getJobInfo().jobId);
    ASSERT_EQ(read.getIncludedDatasets().size(), written.getIncludedDatasets().size());
    for (std::size_t i = 0; i < read.getIncludedDatasets().size(); ++i) {
        EXPECT_EQ(read.getIncludedDatasets()[i].num_rows, written.getIncludedDatasets()[i].num_rows);
        EXPECT_EQ(read.getIncludedDatasets()[i].jobInfo.jobId, written.getIncludedDatasets()[i].jobInfo.jobId);
    }
}

std::shared_ptr<EisDataset> roundTrip(const EisDataset& dataset)
{
    const auto written = write(dataset);
    MXml::DeserializationContext context;
    auto read = EisDataset::buildFromXmlElement(written->element, context);
    EXPECT_FALSE(context.error.has_value()) << reportedMessage(context) << "\n" << written->text();
    return read;
}

// Three meta columns with waves: wave 1 has no samples on either path.
EisDataset withWaves(std::string jobId = "job")
{
    LiveDataHeaderEis header = eisHeader(
        {column("frequency", "Hz"), column("periods"), column("time", "s"), column("wave_id"), column("wave_size")},
        {impedanceHeader("MAIN:1:U", "MAIN:1:I", "Z;1")},
        {PathDataHeader("MAIN:1:U", "voltage", {column("dc", "V"), column("amplitude", "V")},
                        UserPolynomial({0.25, 2.0, 1e-3})),
         pathHeader("MAIN:1:I", "current")},
        {pathHeader("AUX:1:T", "temperature")}, {potentiostatHeader()});
    EisData data;
    data.meta = {{1000.0, 100.0, 10.0}, {5, 5, 5}, {0.5, 1.5, 2.5}, {0, 1, 0}, {3, 0, 3}};
    data.impedances = {{{10.0, 20.0, 30.0}, {0.0, -0.25, NaN}}};
    data.paths = {{{0.1, 0.2, 0.3}, {0.01, 0.02, 0.03}}, {{1e-3, 2e-3, 3e-3}, {1e-4, 2e-4, 3e-4}}};
    data.pathWaves = {{{1.0, 2.0, 0.1}, {}}, {{-1.0, INF, 1e300}, {}}};
    data.asyncPaths = {{{20.5, 20.6, 20.7}, {0, 0, 0}}};
    data.potentiostats = {{{0.7, 0.8, 0.9}}};
    return makeEis(std::move(header), std::move(data), std::move(jobId));
}

} // namespace

TEST(EisDatasetXml, WritesTheHeaderLinesOfTheTable)
{
    const EisDataset dataset = makeEis(
        eisHeader({column("frequency", "Hz"), column("periods"), column("time", "s")}, {},
                  {PathDataHeader("MAIN:1:POT:U", "voltage", {column("dc", "V")}, UserPolynomial())}),
        EisData{{}, {{{0.5, 0.25}}}, {{}}, {}, {}, {{10, 1}, {3, 3}, {0, 1}}});
    const auto written = write(dataset);
    EXPECT_EQ(csvText(written->element, "data"),
              "\nfrequency;periods;time;dc\nHz;;s;V\n;;;MAIN:1:POT:U\n10;3;0;0.5\n1;3;1;0.25\n");
    EXPECT_EQ(csvText(written->element, "wave"), "\n");
    const tinyxml2::XMLElement* path = written->element->FirstChildElement("configuration")->FirstChildElement();
    EXPECT_STREQ(path->Attribute("type"), "path");
    EXPECT_STREQ(path->Attribute("urn"), "MAIN:1:POT:U");
    EXPECT_STREQ(path->Attribute("name"), "voltage");
    const tinyxml2::XMLElement* last = written->element->FirstChildElement("data-structure")->LastChildElement();
    EXPECT_STREQ(last->Attribute("urn"), "MAIN:1:POT:U");
    EXPECT_STREQ(last->Attribute("name"), "dc");
    EXPECT_STREQ(last->Attribute("type"), "double");
    EXPECT_STREQ(last->Attribute("unit"), "V");
}

TEST(EisDatasetXml, WritesEveryObjectAndWave)
{
    const auto written = write(withWaves());
    std::vector<std::string> classes;
    const tinyxml2::XMLElement* configuration = written->element->FirstChildElement("configuration");
    for (const tinyxml2::XMLElement* element = configuration->FirstChildElement(); element != nullptr;
         element = element->NextSiblingElement()) {
        classes.push_back(std::string(element->Attribute("type")) + " " + element->Attribute("urn"));
    }
    EXPECT_EQ(classes, (std::vector<std::string>{"path MAIN:1:U", "path MAIN:1:I", "impedance MAIN:1:U/MAIN:1:I",
                                                 "async-path AUX:1:T", "potentiostat MAIN:1:POT"}));
    // The empty wave is the line ";", which reads back as one empty wave.
    EXPECT_EQ(csvText(written->element, "wave"), "\n1;2;0.10000000000000001\n;\n");
    EXPECT_EQ(csvText(written->element, "wave", 1), "\n-1;inf;1.0000000000000001e+300\n;\n");
}

TEST(EisDatasetXml, RoundTrips)
{
    const EisDataset single = withWaves();
    const auto read = roundTrip(single);
    ASSERT_NE(read, nullptr);
    expectSameEis(*read, single);
    EXPECT_EQ(read->getImpedancesHeaders()[0].getImpedanceName(), "Z;1");
    EXPECT_EQ(read->getWaveForRow(0, 2), (std::vector<double>{1.0, 2.0, 0.1}));

    EisDataset joined = withWaves("first");
    ASSERT_TRUE(joined.append(withWaves("second"), 0.0));
    const auto readJoined = roundTrip(joined);
    ASSERT_NE(readJoined, nullptr);
    expectSameEis(*readJoined, joined);
    EXPECT_EQ(readJoined->getIncludedDatasets().size(), 2u);
}

TEST(EisDatasetXml, ResultsWithoutRowsReadBackWithTheirHeader)
{
    // An empty result has no columns at all; one without rows may lack the
    // meta columns, which describe rows.
    const EisDataset empty;
    const auto readEmpty = roundTrip(empty);
    ASSERT_NE(readEmpty, nullptr);
    EXPECT_EQ(readEmpty->getRowCount(), 0u);
    EXPECT_TRUE(readEmpty->getMetaDataHeader().empty());

    const EisDataset noRows = makeEis(eisHeader({}, {}, {pathHeader("MAIN:1:U", "voltage")}), EisData{});
    const auto readNoRows = roundTrip(noRows);
    ASSERT_NE(readNoRows, nullptr);
    expectSameEis(*readNoRows, noRows);
}

TEST(EisDatasetXml, SemicolonsInKeysKeepTheHeaderLinesEven)
{
    EisDataset dataset = makeEis(
        eisHeader({column("frequency", "Hz"), column("periods"), column("time", "s")}, {},
                  {PathDataHeader("MAIN;1", "volt;age", {column("d;c", "V;x")}, UserPolynomial())}),
        EisData{{}, {{{0.5}}}, {{}}, {}, {}, {{10}, {3}, {0}}});
    const auto written = write(dataset);
    EXPECT_EQ(csvText(written->element, "data"), "\nfrequency;periods;time;d,c\nHz;;s;V,x\n;;;MAIN,1\n10;3;0;0.5\n");
    const auto read = roundTrip(dataset);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->getPathsDataHeaders()[0].getUri(), "MAIN;1");
    EXPECT_EQ(read->getPathsDataHeaders()[0].getColumns()[0], ColumnHeader("d;c", "V;x", "MAIN;1"));
}

TEST(EisDatasetXml, RaggedTracksAreWrittenWithNan)
{
    const EisDataset dataset = makeEis(
        eisHeader({column("frequency", "Hz"), column("periods"), column("time", "s")}, {impedanceHeader()}, {}),
        EisData{{{{1.0}}}, {}, {}, {}, {}, {{10, 1}, {3, 3}, {0, 1}}});
    const auto written = write(dataset);
    EXPECT_EQ(csvText(written->element, "data"),
              "\nfrequency;periods;time;|impedance|;phase\nHz;;s;\xE2\x84\xA6;rad\n;;;MAIN:1:U/MAIN:1:I;MAIN:1:U/"
              "MAIN:1:I\n10;3;0;1;nan\n1;3;1;nan;nan\n");
}

TEST(EisDatasetXml, PolynomialsTheReaderWouldRefuseAreWrittenReadable)
{
    tinyxml2::XMLDocument document;
    tinyxml2::XMLElement* parent = document.NewElement("p");
    document.InsertEndChild(parent);
    UserPolynomial constant;
    constant.coefficients = {4.5};
    UserPolynomial none;
    none.coefficients = {};
    appendPolynomialElement(constant, parent, "a");
    appendPolynomialElement(none, parent, "b");
    bool found = false;
    EXPECT_EQ(readPolynomialChildElement(parent, "a", found).coefficients, (std::vector<double>{4.5, 0.0}));
    EXPECT_TRUE(found);
    EXPECT_EQ(readPolynomialChildElement(parent, "b", found).coefficients, (std::vector<double>{0.0, 1.0}));
    EXPECT_TRUE(found);
}

TEST(EisDatasetXml, ReadPolynomialNeedsTwoNumbers)
{
    Fixture fixture("<p><one><coefficient>3</coefficient></one>"
                    "<bad><coefficient>1</coefficient><coefficient>x</coefficient><coefficient>2</coefficient></bad>"
                    "<good><coefficient>1</coefficient><coefficient>-2.5</coefficient></good></p>");
    bool found = true;
    EXPECT_EQ(readPolynomialChildElement(fixture.root(), "one", found), UserPolynomial());
    EXPECT_FALSE(found);
    EXPECT_EQ(readPolynomialChildElement(fixture.root(), "bad", found), UserPolynomial());
    EXPECT_FALSE(found);
    EXPECT_EQ(readPolynomialChildElement(fixture.root(), "missing", found), UserPolynomial());
    EXPECT_FALSE(found);
    EXPECT_EQ(readPolynomialChildElement(fixture.root(), "good", found).coefficients,
              (std::vector<double>{1.0, -2.5}));
    EXPECT_TRUE(found);
}

TEST(EisDatasetXml, FewerThanThreeMetaColumnsAreWrittenButNotReadBack)
{
    // Every impedance measurement carries frequency, periods and time; a
    // table without them is not taken for one.
    const EisDataset dataset = makeEis(standardHeader(), standardData());
    const auto written = write(dataset);
    MXml::DeserializationContext context;
    EXPECT_EQ(EisDataset::buildFromXmlElement(written->element, context), nullptr);
    EXPECT_EQ(reportedMessage(context), "AC <dataset> does not contain the expected meta data columns (frequency, "
                                        "periods, time): found 2 declared and 9 parsed");
}
