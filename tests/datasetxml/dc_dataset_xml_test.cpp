#include "xml_dataset_support.hpp"

#include "marlek_link_json/jobs/dataset/dataset_sections_xml.hpp"
#include "marlek_link_json/jobs/dc/dataset/dc_dataset.hpp"
#include "../datasets/dataset_test_support.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

using namespace xml_dataset_test;
using dataset_test::makeDc;
using dataset_test::NaN;
using dataset_test::sameValues;

namespace {

void expectSameDc(const DcDataset& read, const DcDataset& written)
{
    EXPECT_EQ(read.getHeader().getMeasurementType(), written.getHeader().getMeasurementType());
    EXPECT_EQ(read.getHeader().getShortMeasurementType(), written.getHeader().getShortMeasurementType());
    EXPECT_EQ(read.getHeader().getColumns(), written.getHeader().getColumns());
    ASSERT_EQ(read.getTracks().size(), written.getTracks().size());
    for (std::size_t i = 0; i < read.getTracks().size(); ++i) {
        EXPECT_TRUE(sameValues(read.getTracks()[i], written.getTracks()[i])) << "track " << i;
    }
    EXPECT_EQ(read.getJobInfo().jobId, written.getJobInfo().jobId);
    ASSERT_EQ(read.getIncludedDatasets().size(), written.getIncludedDatasets().size());
    for (std::size_t i = 0; i < read.getIncludedDatasets().size(); ++i) {
        const DatasetInfo& a = read.getIncludedDatasets()[i];
        const DatasetInfo& b = written.getIncludedDatasets()[i];
        EXPECT_EQ(a.num_rows, b.num_rows);
        EXPECT_EQ(a.job_type, b.job_type);
        EXPECT_EQ(a.jobInfo.jobId, b.jobInfo.jobId);
        EXPECT_TRUE(sameValues({a.first_time_value}, {b.first_time_value}));
    }
}

std::shared_ptr<DcDataset> roundTrip(const DcDataset& dataset)
{
    const auto written = write(dataset);
    MXml::DeserializationContext context;
    auto read = DcDataset::buildFromXmlElement(written->element, context);
    EXPECT_FALSE(context.error.has_value()) << reportedMessage(context) << "\n" << written->text();
    return read;
}

DcDataset sample()
{
    return makeDc({ColumnHeader("time", "s", "MAIN:1:TIME"), ColumnHeader("volt;age", "V;x", "MAIN:1;POT")},
                  {{0.0, 0.1, 1e-5}, {1.0, NaN, -std::numeric_limits<double>::infinity()}});
}

} // namespace

TEST(DcDatasetXml, WritesTheElementAndTheTable)
{
    const DcDataset dataset = sample();
    const auto written = write(dataset);
    const tinyxml2::XMLElement* element = written->element;
    EXPECT_STREQ(element->Attribute("type"), "DC");
    EXPECT_STREQ(element->Attribute("job-type-short"), "CV");
    EXPECT_STREQ(element->Attribute("job-type"), "Cyclic Voltammetry");
    const tinyxml2::XMLElement* column = element->FirstChildElement("data-structure")->FirstChildElement("column");
    ASSERT_NE(column->NextSiblingElement("column"), nullptr);
    column = column->NextSiblingElement("column");
    // The attributes keep the texts; only the table's header lines replace ";".
    EXPECT_STREQ(column->Attribute("name"), "volt;age");
    EXPECT_STREQ(column->Attribute("unit"), "V;x");
    EXPECT_STREQ(column->Attribute("urn"), "MAIN:1;POT");
    EXPECT_STREQ(column->Attribute("type"), "double");

    const tinyxml2::XMLElement* section = element->FirstChildElement("sections")->FirstChildElement("section");
    ASSERT_NE(section, nullptr);
    EXPECT_EQ(section->NextSiblingElement("section"), nullptr);
    EXPECT_STREQ(section->Attribute("type"), "DC");
    EXPECT_STREQ(section->Attribute("length"), "3");
    EXPECT_STREQ(section->Attribute("time-start"), "0");
    EXPECT_NE(section->FirstChildElement("job-info"), nullptr);

    EXPECT_EQ(csvText(element, "data"), "\ntime;volt,age\ns;V,x\nMAIN:1:TIME;MAIN:1,POT\n"
                                        "0;1\n0.10000000000000001;nan\n1.0000000000000001e-05;-inf\n");
    EXPECT_NE(written->text().find("<![CDATA["), std::string::npos);
}

TEST(DcDatasetXml, RoundTrips)
{
    const DcDataset single = sample();
    expectSameDc(*roundTrip(single), single);

    // One column whose unit and URN are empty: the table's unit and URN lines
    // are empty lines.
    const DcDataset bare = makeDc({ColumnHeader("time", "", "")}, {{1.0, 2.0}});
    expectSameDc(*roundTrip(bare), bare);
    // Without a name as well, the name line is empty too.
    const DcDataset nameless = makeDc({ColumnHeader("", "", "")}, {{1.0, 2.0}});
    expectSameDc(*roundTrip(nameless), nameless);

    DcDataset joined = sample();
    ASSERT_TRUE(joined.append(makeDc(sample().getHeader().getColumns(), {{5.0}, {6.0}}, "second"), 1.0));
    ASSERT_EQ(joined.getIncludedDatasets().size(), 2u);
    const auto read = roundTrip(joined);
    expectSameDc(*read, joined);
    EXPECT_EQ(read->getJobInfo().jobId, "job");
    EXPECT_EQ(read->getIncludedDatasets()[1].jobInfo.jobId, "second");
}

TEST(DcDatasetXml, RaggedTracksAreWrittenWithNan)
{
    DcDataset dataset = makeDc({ColumnHeader("time", "s", ""), ColumnHeader("current", "A", "")}, {{}, {}});
    dataset.appendDataRow({1.0, 2.0});
    dataset.appendDataRow({3.0});
    const auto written = write(dataset);
    EXPECT_EQ(csvText(written->element, "data"), "\ntime;current\ns;A\n;\n1;2\n3;nan\n");
    const auto read = roundTrip(dataset);
    EXPECT_TRUE(sameValues(read->getTracks()[1], {2.0, NaN}));
}

TEST(DcDatasetXml, DatasetWithoutColumnsReadsBackEmpty)
{
    DcDataset empty(LiveDataHeader("Cyclic Voltammetry", "CV", {}), dataset_test::jobWithId("failed"));
    const auto written = write(empty);
    EXPECT_EQ(written->element->FirstChildElement("csv")->FirstChild(), nullptr);
    const auto read = roundTrip(empty);
    ASSERT_NE(read, nullptr);
    EXPECT_TRUE(read->getHeader().getColumns().empty());
    EXPECT_EQ(read->getRowCount(), 0u);
    EXPECT_EQ(read->getJobInfo().jobId, "failed");
}

namespace {

std::string dcFixture(const std::string& sections, const std::string& table,
                      const std::string& columns = "<column name=\"time\" type=\"double\" unit=\"s\" urn=\"\"/>"
                                                   "<column name=\"voltage\" type=\"double\" unit=\"V\" urn=\"P\"/>")
{
    return "<dataset type=\"DC\" job-type-short=\"CV\" job-type=\"Cyclic Voltammetry\"><data-structure>" + columns
           + "</data-structure><sections>" + sections + "</sections><csv type=\"data\">" + table
           + "</csv></dataset>";
}

struct DcReadCase {
    const char* name;
    std::string xml;
    std::string message;
};

class DcDatasetXmlRefused : public testing::TestWithParam<DcReadCase> {};

TEST_P(DcDatasetXmlRefused, ReportsTheFirstFault)
{
    Fixture fixture(GetParam().xml);
    MXml::DeserializationContext context;
    EXPECT_EQ(DataSet::buildFromXmlElement(fixture.root(), context), nullptr);
    EXPECT_EQ(reportedMessage(context), GetParam().message);
}

const std::string TABLE = "<![CDATA[\ntime;voltage\ns;V\n;P\n0;1\n1;2\n]]>";
const std::string HUGE = "18446744073709551615";

INSTANTIATE_TEST_SUITE_P(
    Cases, DcDatasetXmlRefused,
    testing::Values(
        DcReadCase{"NoType", "<dataset/>", "<dataset> is missing its required 'type' attribute"},
        DcReadCase{"LowerCaseType", "<dataset type=\"dc\"/>",
                   "<dataset type=\"dc\"> is not a known dataset type (expected \"AC\" or \"DC\")"},
        DcReadCase{"LongType", "<dataset type=\"DCX\"/>",
                   "<dataset type=\"DCX\"> is not a known dataset type (expected \"AC\" or \"DC\")"},
        DcReadCase{"NoStructure", "<dataset type=\"DC\"/>", "DC <dataset> is missing its <data-structure> element"},
        DcReadCase{"NoColumnButRows", dcFixture(section("DC", "2"), TABLE, ""),
                   "DC <dataset> declares no <column> in its <data-structure>"},
        DcReadCase{"NoSections",
                   "<dataset type=\"DC\"><data-structure><column name=\"t\"/></data-structure></dataset>",
                   "DC <dataset> is missing its <sections> element"},
        DcReadCase{"SectionWithoutLengthAndTimeStart",
                   dcFixture("<section type=\"DC\" job-type-short=\"\" job-type=\"\"><job-info/></section>", TABLE),
                   "<section> is missing its required 'length' attribute"},
        DcReadCase{"NegativeLength", dcFixture(section("DC", "-2"), TABLE),
                   "<section> attribute 'length' is not a number: '-2'"},
        DcReadCase{"LengthBeyond64Bits", dcFixture(section("DC", "18446744073709551616"), TABLE),
                   "<section> attribute 'length' is not a number: '18446744073709551616'"},
        DcReadCase{"BadTimeStart", dcFixture(section("DC", "2", "j", "x1"), TABLE),
                   "<section> attribute 'time-start' is not a number: 'x1'"},
        DcReadCase{"NoJobInfo",
                   dcFixture("<section type=\"DC\" job-type-short=\"\" job-type=\"\" length=\"2\" time-start=\"0\"/>",
                             TABLE),
                   "<section> is missing its <job-info> element"},
        DcReadCase{"NoCsv",
                   "<dataset type=\"DC\"><data-structure><column name=\"t\"/></data-structure><sections>"
                       + section("DC", "1") + "</sections></dataset>",
                   "DC <dataset> is missing its <csv> element"},
        DcReadCase{"EmptyCsv", dcFixture(section("DC", "2"), ""), "the <csv> element of the DC dataset is empty"},
        DcReadCase{"FewerRowsThanDeclared", dcFixture(section("DC", "3"), TABLE),
                   "the DC data table does not match the declared 2 columns x 3 rows"},
        // Forged lengths: refused before anything is sized by them.
        DcReadCase{"HugeLength", dcFixture(section("DC", HUGE), TABLE),
                   "the DC data table does not match the declared 2 columns x " + HUGE + " rows"},
        DcReadCase{"LengthsOverflowingTheirSum", dcFixture(section("DC", HUGE) + section("DC", "2"), TABLE),
                   "the DC data table does not match the declared 2 columns x " + HUGE + " rows"},
        DcReadCase{"LengthJustBeyondTheLines", dcFixture(section("DC", "100000000"), TABLE),
                   "the DC data table does not match the declared 2 columns x 100000000 rows"}),
    [](const testing::TestParamInfo<DcReadCase>& info) { return info.param.name; });

} // namespace

TEST(DcDatasetXml, ReadsHandMadeElements)
{
    // Two sections, the table in two CDATA sections with CR LF line ends,
    // a length with trailing letters and a time-start in exponent form.
    Fixture fixture(dcFixture(section("DC", "1rows", "first", "1e-3") + section("AC", "1", "second", "nan"),
                              "<![CDATA[\r\ntime;voltage\r\ns;V\r\n;P\r\n0;1\r\n]]><![CDATA[1;2.5\r\n]]>"));
    MXml::DeserializationContext context;
    const auto dataset = std::dynamic_pointer_cast<DcDataset>(DataSet::buildFromXmlElement(fixture.root(), context));
    ASSERT_NE(dataset, nullptr) << reportedMessage(context);
    EXPECT_EQ(dataset->getHeader().getColumns(),
              (std::vector<ColumnHeader>{ColumnHeader("time", "s", ""), ColumnHeader("voltage", "V", "P")}));
    EXPECT_EQ(dataset->getTracks(), (std::vector<std::vector<double>>{{0, 1}, {1, 2.5}}));
    EXPECT_EQ(dataset->getJobInfo().jobId, "first");
    ASSERT_EQ(dataset->getIncludedDatasets().size(), 2u);
    EXPECT_EQ(dataset->getIncludedDatasets()[0].first_time_value, 0.001);
    EXPECT_EQ(dataset->getIncludedDatasets()[1].type, DatasetType::AC);
    EXPECT_TRUE(std::isnan(dataset->getIncludedDatasets()[1].first_time_value));
}

TEST(DcDatasetXml, TablesStartingWithBlankLinesStillRead)
{
    // Other writers may put blank lines before the names; a table that does
    // not read with one leading line end is read after all of them.
    for (const std::string table : {"<![CDATA[\n\n\ntime;voltage\ns;V\n;P\n0;1\n]]>",
                                     "<![CDATA[\r\n\r\ntime;voltage\r\ns;V\r\n;P\r\n0;1\r\n]]>"}) {
        Fixture fixture(dcFixture(section("DC", "1"), table));
        MXml::DeserializationContext context;
        const auto dataset = DcDataset::buildFromXmlElement(fixture.root(), context);
        ASSERT_NE(dataset, nullptr) << reportedMessage(context);
        EXPECT_EQ(dataset->getHeader().getColumns(),
                  (std::vector<ColumnHeader>{ColumnHeader("time", "s", ""), ColumnHeader("voltage", "V", "P")}));
        EXPECT_EQ(dataset->getTracks(), (std::vector<std::vector<double>>{{0}, {1}}));
    }
}

TEST(DcDatasetXml, RowsBeyondTheDeclaredCountAreNotRead)
{
    Fixture fixture(dcFixture(section("DC", "1"), TABLE));
    MXml::DeserializationContext context;
    const auto dataset = DcDataset::buildFromXmlElement(fixture.root(), context);
    ASSERT_NE(dataset, nullptr);
    EXPECT_EQ(dataset->getTracks(), (std::vector<std::vector<double>>{{0}, {1}}));
    EXPECT_TRUE(dataset->getIncludedDatasets().empty());
}

TEST(DatasetSections, EmptySectionsGiveNoEntryAndNoReport)
{
    Fixture fixture("<sections/>");
    MXml::DeserializationContext context;
    EXPECT_TRUE(datasetInfoVectorFromSection(fixture.root(), context).empty());
    EXPECT_FALSE(context.error.has_value());
}

TEST(DcDatasetXml, DatasetWithoutRowsStartsItsSectionAtNan)
{
    const DcDataset dataset = makeDc({ColumnHeader("time", "s", ""), ColumnHeader("current", "A", "")}, {{}, {}});
    const auto written = write(dataset);
    const tinyxml2::XMLElement* section = written->element->FirstChildElement("sections")->FirstChildElement();
    EXPECT_STREQ(section->Attribute("length"), "0");
    EXPECT_STREQ(section->Attribute("time-start"), "nan");
    EXPECT_EQ(csvText(written->element, "data"), "\ntime;current\ns;A\n;\n");
    const auto read = roundTrip(dataset);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->getRowCount(), 0u);
    EXPECT_EQ(read->getTracks().size(), 2u);
}

namespace {

// A value read from a section attribute, or the message that refused it.
struct SectionNumberCase {
    const char* length;
    const char* timeStart;
    std::uint64_t rows;
    double firstTime;
    const char* refusal;
};

} // namespace

// "length" is the unsigned decimal and "time-start" the general-notation
// double that starts the text (no blanks, no "+", no hexadecimal form, "nan"
// and "inf" accepted), whatever follows ignored; no number, or one out of
// range, is refused.
TEST(DatasetSections, NumberAttributesReadTheNumberThatStartsTheText)
{
    const double inf = std::numeric_limits<double>::infinity();
    for (const auto& c : {
             SectionNumberCase{"2", "0.5", 2, 0.5, nullptr},
             SectionNumberCase{"2rows", "1e-3", 2, 0.001, nullptr},
             SectionNumberCase{"0x10", "0x10", 0, 0.0, nullptr},
             SectionNumberCase{"1", "1.5s", 1, 1.5, nullptr},
             SectionNumberCase{"1", "-Infinity", 1, -inf, nullptr},
             SectionNumberCase{"1", "inf", 1, inf, nullptr},
             SectionNumberCase{"1", "NaN", 1, NaN, nullptr},
             SectionNumberCase{"1", ".5e1", 1, 5.0, nullptr},
             SectionNumberCase{"+2", "0", 0, 0, "<section> attribute 'length' is not a number: '+2'"},
             SectionNumberCase{" 2", "0", 0, 0, "<section> attribute 'length' is not a number: ' 2'"},
             SectionNumberCase{"-2", "0", 0, 0, "<section> attribute 'length' is not a number: '-2'"},
             SectionNumberCase{"", "0", 0, 0, "<section> attribute 'length' is not a number: ''"},
             SectionNumberCase{"1", "+1", 0, 0, "<section> attribute 'time-start' is not a number: '+1'"},
             SectionNumberCase{"1", " 1", 0, 0, "<section> attribute 'time-start' is not a number: ' 1'"},
             SectionNumberCase{"1", "1e400", 0, 0, "<section> attribute 'time-start' is not a number: '1e400'"},
             SectionNumberCase{"1", "-1e400", 0, 0, "<section> attribute 'time-start' is not a number: '-1e400'"},
             SectionNumberCase{"1", "1e-400", 0, 0, "<section> attribute 'time-start' is not a number: '1e-400'"},
             SectionNumberCase{"1", "", 0, 0, "<section> attribute 'time-start' is not a number: ''"},
             SectionNumberCase{"1", "x1", 0, 0, "<section> attribute 'time-start' is not a number: 'x1'"},
         }) {
        SCOPED_TRACE(std::string(c.length) + " / " + c.timeStart);
        Fixture fixture(std::string("<sections><section type=\"DC\" job-type-short=\"\" job-type=\"\" length=\"")
                        + c.length + "\" time-start=\"" + c.timeStart + "\"><job-info/></section></sections>");
        MXml::DeserializationContext context;
        const std::vector<DatasetInfo> sections = datasetInfoVectorFromSection(fixture.root(), context);
        if (c.refusal != nullptr) {
            EXPECT_TRUE(sections.empty());
            EXPECT_EQ(reportedMessage(context), c.refusal);
            continue;
        }
        ASSERT_EQ(sections.size(), 1u) << reportedMessage(context);
        EXPECT_EQ(sections[0].num_rows, c.rows);
        EXPECT_TRUE(sameValues({sections[0].first_time_value}, {c.firstTime}));
    }
}
