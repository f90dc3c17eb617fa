// Hand-made "dataset" elements of the file format versions the reader
// accepts, and malformed ones it must refuse with the first fault.

#include "xml_dataset_support.hpp"

#include "marlek_link_json/jobs/ac/dataset/eis_dataset.hpp"
#include "marlek_link_json/jobs/dataset/dataset.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

using namespace xml_dataset_test;

namespace {

using Values = std::vector<double>;

const std::string META_COLUMNS = "<column urn=\"\" name=\"frequency\" type=\"double\" unit=\"Hz\"/>"
                                  "<column urn=\"\" name=\"periods\" type=\"double\" unit=\"\"/>"
                                  "<column urn=\"\" name=\"time\" type=\"double\" unit=\"s\"/>";

const std::string POLYNOMIAL = "<polynomial><coefficient>0</coefficient><coefficient>1</coefficient></polynomial>";

struct Parts {
    std::string pathClass = "<column-class type=\"path\" urn=\"U\" name=\"voltage\">" + POLYNOMIAL + "</column-class>";
    std::string otherClasses = "<column-class type=\"impedance\" urn=\"U/I\" numerator=\"U\" denominator=\"I\"/>"
                               "<column-class type=\"potentiostat\" urn=\"P\"><polynomial><coefficient>0.5"
                               "</coefficient><coefficient>2</coefficient></polynomial></column-class>";
    std::string columns = META_COLUMNS + "<column urn=\"\" name=\"wave_id\" type=\"double\" unit=\"\"/>"
                          + "<column urn=\"U\" name=\"dc\" type=\"double\" unit=\"V\"/>"
                          + "<column urn=\"U/I\" name=\"|impedance|\" type=\"double\" unit=\"Ohm\"/>"
                          + "<column urn=\"P\" name=\"dc\" type=\"double\" unit=\"V\"/>";
    std::string sections = section("AC", "2");
    std::string data = "<csv type=\"data\"><![CDATA[\nfrequency;periods;time;wave_id;dc;|impedance|;dc\n"
                       "Hz;;s;;V;Ohm;V\n;;;;U;U/I;P\n1000;10;0;0;0.1;50;0.7\n100;10;1;-1;0.2;60;0.8\n]]></csv>";
    std::string waves = "<csv type=\"wave\" urn=\"U\"><![CDATA[\n1;2;3\n]]></csv>";
    std::string configurationTag = "configuration";
    std::string sectionsTag = "sections";

    std::string xml() const
    {
        return "<dataset type=\"AC\" job-type-short=\"EIS\" job-type=\"Electrochemical Impedance Spectroscopy\">"
               "<" + configurationTag + ">" + pathClass + otherClasses + "</" + configurationTag + "><data-structure>"
               + columns + "</data-structure><" + sectionsTag + ">" + sections + "</" + sectionsTag + ">" + data
               + waves + "</dataset>";
    }
};

std::shared_ptr<EisDataset> read(const std::string& xml, std::uint64_t version, MXml::DeserializationContext& context)
{
    Fixture fixture(xml);
    context.formatVersion = version;
    return std::dynamic_pointer_cast<EisDataset>(DataSet::buildFromXmlElement(fixture.root(), context));
}

} // namespace

TEST(EisDatasetXmlFixtures, Version4)
{
    MXml::DeserializationContext context;
    const auto dataset = read(Parts().xml(), 4, context);
    ASSERT_NE(dataset, nullptr) << reportedMessage(context);
    EXPECT_EQ(dataset->getHeader().getMeasurementType(), "Electrochemical Impedance Spectroscopy");
    EXPECT_EQ(dataset->getHeader().getShortMeasurementType(), "EIS");
    EXPECT_EQ(dataset->getRowCount(), 2u);
    EXPECT_EQ(dataset->getFrequencies(), (Values{1000, 100}));
    EXPECT_EQ(dataset->getTimes(), (Values{0, 1}));
    EXPECT_EQ(dataset->getPathDcValues(0), (Values{0.1, 0.2}));
    EXPECT_EQ(dataset->getImpedancesMetaData(0, 0), (Values{50, 60}));
    EXPECT_EQ(dataset->getPotentiostatsMetaData(0, 0), (Values{0.7, 0.8}));
    EXPECT_EQ(dataset->getPotentiostatsDataHeaders()[0].polynomial.coefficients, (Values{0.5, 2}));
    EXPECT_EQ(dataset->getPathsDataHeaders()[0].getColumns()[0], ColumnHeader("dc", "V", "U"));
    // Without "impedance_name" the header names itself after its paths.
    EXPECT_EQ(dataset->getImpedancesHeaders()[0].getImpedanceName(), "U/I");
    EXPECT_EQ(dataset->getWaveForRow(0, 0), (Values{1, 2, 3}));
    EXPECT_TRUE(dataset->getWaveForRow(0, 1).empty());
    EXPECT_EQ(dataset->getJobInfo().jobId, "j1");
    EXPECT_TRUE(dataset->getIncludedDatasets().empty());
}

TEST(EisDatasetXmlFixtures, Version3NamesThePotentiostatPolynomialDifferently)
{
    Parts parts;
    parts.otherClasses = "<column-class type=\"impedance\" urn=\"U/I\" numerator=\"U\" denominator=\"I\" "
                         "impedance_name=\"Z\"/><column-class type=\"potentiostat\" urn=\"P\">"
                         "<potentiostatic_polynomial><coefficient>1</coefficient><coefficient>3</coefficient>"
                         "</potentiostatic_polynomial></column-class>";
    parts.sections = section("AC", "1", "first") + section("AC", "1", "second");
    parts.waves = "<csv type=\"wave\" urn=\"U\">\n4;5\n;\n</csv>";
    MXml::DeserializationContext context;
    const auto dataset = read(parts.xml(), 3, context);
    ASSERT_NE(dataset, nullptr) << reportedMessage(context);
    EXPECT_EQ(dataset->getPotentiostatsDataHeaders()[0].polynomial.coefficients, (Values{1, 3}));
    EXPECT_EQ(dataset->getImpedancesHeaders()[0].getImpedanceName(), "Z");
    EXPECT_EQ(dataset->getPathWaves(0), (std::vector<Values>{{4, 5}, {}}));
    EXPECT_EQ(dataset->getJobInfo().jobId, "first");
    ASSERT_EQ(dataset->getIncludedDatasets().size(), 2u);
    EXPECT_EQ(dataset->getIncludedDatasets()[1].jobInfo.jobId, "second");
}

TEST(EisDatasetXmlFixtures, Version2HasFixedSizeWavesAndNoWaveColumns)
{
    Parts parts;
    parts.pathClass =
        "<column-class type=\"path\" urn=\"U\" name=\"voltage\" wave-size=\"2\">" + POLYNOMIAL + "</column-class>";
    parts.otherClasses = "<column-class type=\"potentiostat\" urn=\"P\"><potentiostatic_polynomial><coefficient>0"
                         "</coefficient><coefficient>1</coefficient></potentiostatic_polynomial></column-class>";
    parts.columns = META_COLUMNS + "<column urn=\"U\" name=\"dc\" type=\"double\" unit=\"V\"/>"
                    + "<column urn=\"P\" name=\"dc\" type=\"double\" unit=\"V\"/>";
    parts.data = "<csv type=\"data\"><![CDATA[\r\nfrequency;periods;time;dc;dc\r\nHz;;s;V;V\r\n;;;U;P\r\n"
                 "1000;10;0;0.1;0.7\r\n100;10;1;0.2;0.8\r\n]]></csv>";
    parts.waves = "<csv type=\"wave\" urn=\"U\"><![CDATA[\nsamples\nV\n1;2\n3;4\n]]></csv>";
    MXml::DeserializationContext context;
    const auto dataset = read(parts.xml(), 2, context);
    ASSERT_NE(dataset, nullptr) << reportedMessage(context);
    EXPECT_EQ(dataset->getPathWaves(0), (std::vector<Values>{{1, 2}, {3, 4}}));
    // One wave per row, booked in the columns the reader adds.
    EXPECT_EQ(dataset->getWaveIds(), (Values{0, 1}));
    EXPECT_EQ(dataset->getWaveSizes(), (Values{2, 2}));
    EXPECT_EQ(dataset->getWaveForRow(0, 1), (Values{3, 4}));
}

TEST(EisDatasetXmlFixtures, TheLastDataTableIsRead)
{
    Parts parts;
    parts.data = "<csv type=\"data\">ignored</csv>" + parts.data;
    MXml::DeserializationContext context;
    const auto dataset = read(parts.xml(), 4, context);
    ASSERT_NE(dataset, nullptr) << reportedMessage(context);
    EXPECT_EQ(dataset->getFrequencies(), (Values{1000, 100}));
}

TEST(EisDatasetXmlFixtures, WaveIdsThatNameNoWaveMeanNoWave)
{
    for (const char* id : {"nan", "inf", "-inf", "1e300", "-1e19"}) {
        Parts parts;
        parts.data = std::string("<csv type=\"data\"><![CDATA[\nfrequency;periods;time;wave_id;dc;|impedance|;dc\n"
                                 "Hz;;s;;V;Ohm;V\n;;;;U;U/I;P\n1000;10;0;")
                     + id + ";0.1;50;0.7\n100;10;1;0;0.2;60;0.8\n]]></csv>";
        MXml::DeserializationContext context;
        const auto dataset = read(parts.xml(), 4, context);
        ASSERT_NE(dataset, nullptr) << reportedMessage(context);
        EXPECT_EQ(dataset->getWaveIdForRow(0), -1) << id;
        EXPECT_TRUE(dataset->getWaveForRow(0, 0).empty()) << id;
        EXPECT_EQ(dataset->getWaveForRow(0, 1), (Values{1, 2, 3})) << id;
    }
}

namespace {

struct Refusal {
    const char* name;
    std::uint64_t version;
    std::function<void(Parts&)> change;
    std::string message;
};

class EisDatasetXmlRefused : public testing::TestWithParam<Refusal> {};

TEST_P(EisDatasetXmlRefused, ReportsTheFirstFault)
{
    Parts parts;
    GetParam().change(parts);
    MXml::DeserializationContext context;
    EXPECT_EQ(read(parts.xml(), GetParam().version, context), nullptr);
    EXPECT_EQ(reportedMessage(context), GetParam().message);
}

const std::string HUGE = "18446744073709551615";

INSTANTIATE_TEST_SUITE_P(
    Cases, EisDatasetXmlRefused,
    testing::Values(
        Refusal{"NoConfiguration", 4,
                [](Parts& p) { p.configurationTag = "configurations"; },
                "AC <dataset> is missing its <configuration> or <data-structure> element"},
        Refusal{"PathPolynomialOfOneCoefficient", 4,
                [](Parts& p) {
                    p.pathClass = "<column-class type=\"path\" urn=\"U\"><polynomial><coefficient>1</coefficient>"
                                  "</polynomial></column-class>";
                },
                "<column-class type=\"path\" urn=\"U\"> has no valid <polynomial>"},
        Refusal{"AsyncPathWithoutPolynomial", 4,
                [](Parts& p) { p.otherClasses += "<column-class type=\"async-path\" urn=\"A\"/>"; },
                "<column-class type=\"async_path\" urn=\"A\"> has no valid <polynomial>"},
        Refusal{"ImpedanceWithoutDenominator", 4,
                [](Parts& p) { p.otherClasses = "<column-class type=\"impedance\" urn=\"U/I\" numerator=\"U\"/>"; },
                "<column-class type=\"impedance\" urn=\"U/I\"> is missing its 'numerator' or 'denominator' "
                "attribute"},
        Refusal{"Version3PotentiostatWithTheNewName", 3, [](Parts&) {},
                "<column-class type=\"potentiostat\" urn=\"P\"> has no valid <potentiostatic_polynomial>"},
        Refusal{"NoSections", 4, [](Parts& p) { p.sectionsTag = "section-list"; },
                "AC <dataset> is missing its <sections> element"},
        Refusal{"SectionWithoutType", 4,
                [](Parts& p) { p.sections = "<section length=\"2\" time-start=\"0\"><job-info/></section>"; },
                "<section> is missing its required 'type' attribute"},
        Refusal{"NoDataTable", 4, [](Parts& p) { p.data = "<csv type=\"other\"/>"; },
                "AC <dataset> has no <csv type=\"data\"> element"},
        Refusal{"MoreRowsThanTheTable", 4, [](Parts& p) { p.sections = section("AC", "3"); },
                "the AC data table does not match the declared 7 columns x 3 rows"},
        Refusal{"HugeLength", 4, [](Parts& p) { p.sections = section("AC", HUGE); },
                "the AC data table does not match the declared 7 columns x " + HUGE + " rows"},
        Refusal{"LengthsOverflowingTheirSum", 4,
                [](Parts& p) { p.sections = section("AC", HUGE) + section("AC", "1"); },
                "the AC data table does not match the declared 7 columns x " + HUGE + " rows"},
        Refusal{"TwoMetaColumns", 4,
                [](Parts& p) {
                    p.columns = "<column urn=\"\" name=\"frequency\"/><column urn=\"\" name=\"periods\"/>";
                    p.data = "<csv type=\"data\">\nfrequency;periods\nHz;\n;\n1;2\n3;4\n</csv>";
                },
                "AC <dataset> does not contain the expected meta data columns (frequency, periods, time): found 2 "
                "declared and 2 parsed"},
        Refusal{"EmptyDataTable", 4, [](Parts& p) { p.data = "<csv type=\"data\"/>"; },
                "AC <dataset> does not contain the expected meta data columns (frequency, periods, time): found 4 "
                "declared and 0 parsed"},
        Refusal{"MissingWaveTable", 4, [](Parts& p) { p.waves = ""; },
                "AC <dataset> declares 1 sync paths but carries 0 wave tables"},
        Refusal{"MalformedWaveTable", 4, [](Parts& p) { p.waves = "<csv type=\"wave\">\n1;x\n</csv>"; },
                "the wave table of sync path 0 is malformed for file format version 4"},
        Refusal{"MoreWavesThanRows", 4, [](Parts& p) { p.waves = "<csv type=\"wave\">\n1\n2\n3\n</csv>"; },
                "sync path 0 carries 3 waves but the dataset has only 2 rows"},
        Refusal{"LegacyWaveTableTooShort", 2,
                [](Parts& p) {
                    p.pathClass = "<column-class type=\"path\" urn=\"U\" wave-size=\"3\">" + POLYNOMIAL
                                  + "</column-class>";
                    p.otherClasses = "";
                    p.waves = "<csv type=\"wave\">\nh\nh\n1;2;3\n4;5\n</csv>";
                },
                "the legacy wave table of sync path 0 does not match 2 rows of 3 samples"},
        // A forged wave size is refused before waves are sized by it.
        Refusal{"ForgedLegacyWaveSize", 1,
                [](Parts& p) {
                    p.pathClass = "<column-class type=\"path\" urn=\"U\" wave-size=\"9223372036854775807\">"
                                  + POLYNOMIAL + "</column-class>";
                    p.otherClasses = "";
                    p.waves = "<csv type=\"wave\">\nh\nh\n1;2;3\n4;5;6\n</csv>";
                },
                "the legacy wave table of sync path 0 does not match 2 rows of 9223372036854775807 samples"}),
    [](const testing::TestParamInfo<Refusal>& info) { return info.param.name; });

} // namespace
