#include "marlek_link_json/xml/csv_parser.hpp"
#include "marlek_link_json/xml/csv_table_text.hpp"
#include "marlek_link_json/xml/legacy_wave_table.hpp"

#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

using Table = std::vector<std::vector<double>>;

Table sized(std::size_t columns, std::size_t rows, double fill = -7.0)
{
    return Table(columns, std::vector<double>(rows, fill));
}

struct DataCase {
    const char* name;
    std::string text;
    std::size_t columns;
    std::size_t rows;
    bool ok;
    Table expected;
};

class CsvDataTable : public testing::TestWithParam<DataCase> {};

TEST_P(CsvDataTable, Parses)
{
    const DataCase& c = GetParam();
    Table table = sized(c.columns, c.rows);
    CsvParser parser(table, c.text.c_str());
    EXPECT_EQ(parser.parse(), c.ok);
    if (c.ok) {
        EXPECT_EQ(table, c.expected);
    }
}

const double INF = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(
    Cases, CsvDataTable,
    testing::Values(
        DataCase{"Plain", "\na;b\nV;A\nu;v\n1;2\n3;4\n", 2, 2, true, {{1, 3}, {2, 4}}},
        DataCase{"CarriageReturns", "\r\na;b\r\nV;A\r\nu;v\r\n1;2\r\n3;4\r\n", 2, 2, true, {{1, 3}, {2, 4}}},
        DataCase{"BlanksAndInfinity", "\na;b\n;\n;\n 2.5 ;-inf\n", 2, 1, true, {{2.5}, {-INF}}},
        DataCase{"NarrowerTableLeavesOtherColumns", "\na\nV\nu\n1\n", 3, 1, true, {{1}, {-7}, {-7}}},
        DataCase{"ZeroRowsNeedOnlyTheHeader", "\na;b\n;\n;\nwhatever", 2, 0, true, {{}, {}}},
        DataCase{"TextAfterTheDeclaredRowsIsIgnored", "\na\n\n\n1\n2\n3\n", 1, 2, true, {{1, 2}}},
        DataCase{"OneColumnWithEmptyUnitAndUrn", "\ntime\n\n\n0.5\n1.5\n", 1, 2, true, {{0.5, 1.5}}},
        DataCase{"OneColumnWithEmptyName", "\n\nV\nu\n0.5\n1.5\n", 1, 2, true, {{0.5, 1.5}}},
        DataCase{"OneColumnWithoutAnyHeaderText", "\r\n\n\n\n0.5\n1.5\n", 1, 2, true, {{0.5, 1.5}}},
        DataCase{"TrailingSemicolon", "\na;b\nV;A\nu;v\n1;2;\n3;4\n", 2, 2, false, {}},
        DataCase{"DoubleSemicolon", "\na;b\nV;A\nu;v\n1;;2\n", 2, 1, false, {}},
        DataCase{"TooFewRows", "\na\nV\nu\n1\n2\n3\n", 1, 4, false, {}},
        DataCase{"UnequalHeaderWidths", "\na;b;c\nV;A;s\nu;v\n1;2;3\n", 3, 1, false, {}},
        DataCase{"WiderThanTheOutput", "\na;b\nV;A\nu;v\n1;2\n", 1, 1, false, {}},
        DataCase{"LeadingPlus", "\na\nV\nu\n+1\n", 1, 1, false, {}},
        DataCase{"Hexadecimal", "\na\nV\nu\n0x10\n", 1, 1, false, {}},
        DataCase{"OutOfRange", "\na\nV\nu\n1e400\n", 1, 1, false, {}},
        DataCase{"BlankValue", "\na\nV\nu\n  \n", 1, 1, false, {}},
        DataCase{"MissingUrnLine", "\na\nV", 1, 0, false, {}},
        DataCase{"EmptyText", "", 1, 0, false, {}}),
    [](const testing::TestParamInfo<DataCase>& info) { return info.param.name; });

TEST(CsvDataTable, NanReadsAsNan)
{
    Table table = sized(2, 1);
    CsvParser parser(table, "\na;b\n;\n;\nnan;-NaN\n");
    ASSERT_TRUE(parser.parse());
    EXPECT_TRUE(std::isnan(table[0][0]));
    EXPECT_TRUE(std::isnan(table[1][0]));
}

TEST(CsvParser, TokenizeAndGetNextLine)
{
    using Tokens = std::vector<std::string_view>;
    EXPECT_EQ(CsvParser::tokenize("a; b ;"), (Tokens{"a", " b ", ""}));
    EXPECT_EQ(CsvParser::tokenize("single"), (Tokens{"single"}));

    Table unused;
    CsvParser parser(unused, "\r\n\nfirst\r\nsecond");
    std::string_view line;
    ASSERT_TRUE(parser.getNextLine(line));
    EXPECT_EQ(line, "first\r");
    ASSERT_TRUE(parser.getNextLine(line));
    EXPECT_EQ(line, "second");
    EXPECT_FALSE(parser.getNextLine(line));
}

struct WaveCase {
    const char* name;
    std::string text;
    bool ok;
    Table expected;
};

class CsvWaveTable : public testing::TestWithParam<WaveCase> {};

TEST_P(CsvWaveTable, ParsesOneWavePerLine)
{
    const WaveCase& c = GetParam();
    Table waves = {{99.0}};
    CsvParser parser(waves, c.text.c_str());
    EXPECT_EQ(parser.parseWaveVariable(), c.ok);
    if (c.ok) {
        EXPECT_EQ(waves, c.expected);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, CsvWaveTable,
                         testing::Values(WaveCase{"EmptyLinesAreSkipped", "\n1;2;3\n\n4;5\n", true,
                                                  {{1, 2, 3}, {4, 5}}},
                                         WaveCase{"EmptyTokensAreSkipped", "\n1;;2\n", true, {{1, 2}}},
                                         WaveCase{"SemicolonLineIsOneEmptyWave", "\n;\n;;\n7\n", true, {{}, {}, {7}}},
                                         WaveCase{"CarriageReturns", "\r\n1;2\r\n3\r\n", true, {{1, 2}, {3}}},
                                         WaveCase{"NoWaves", "\n", true, {}},
                                         WaveCase{"BlankToken", "\n1; ;2\n", false, {}},
                                         WaveCase{"Garbage", "\n1;x\n", false, {}}),
                         [](const testing::TestParamInfo<WaveCase>& info) { return info.param.name; });

TEST(LegacyWaveTable, FixedSizeWavesOnePerRow)
{
    Table waves;
    EXPECT_TRUE(MXml::Legacy::parseFixedSizeWaveTable(waves, "\nh1\nh2\n1;2;3\n4;5;6\n", 2, 3));
    EXPECT_EQ(waves, (Table{{1, 2, 3}, {4, 5, 6}}));

    EXPECT_FALSE(MXml::Legacy::parseFixedSizeWaveTable(waves, "\nh1\nh2\n1;2;3\n4;5\n", 2, 3));

    EXPECT_TRUE(MXml::Legacy::parseFixedSizeWaveTable(waves, "\nh1\nh2\n", 2, 0));
    EXPECT_EQ(waves, (Table{{}, {}}));
}

TEST(LegacyWaveTable, SizeBeyondTheTextIsRefusedBeforeAllocating)
{
    Table waves;
    const std::size_t huge = std::size_t{1} << 40;
    EXPECT_FALSE(MXml::Legacy::parseFixedSizeWaveTable(waves, "\nh1\nh2\n1;2;3\n4;5;6\n", 2, huge));
    EXPECT_FALSE(MXml::Legacy::parseFixedSizeWaveTable(waves, "\nh1\nh2\n1;2;3\n4;5;6\n", huge, 3));
    EXPECT_FALSE(
        MXml::Legacy::parseFixedSizeWaveTable(waves, "\nh1\nh2\n1\n", std::numeric_limits<std::size_t>::max(), 3));
    EXPECT_TRUE(waves.empty());
}

TEST(LegacyWaveTable, ReadPathWaveSize)
{
    tinyxml2::XMLDocument document;
    document.Parse("<c/><c wave-size=\"-5\"/><c wave-size=\"x\"/><c wave-size=\"12\"/>");
    const tinyxml2::XMLElement* element = document.FirstChildElement("c");
    EXPECT_EQ(MXml::Legacy::readPathWaveSize(element), 256);
    element = element->NextSiblingElement("c");
    EXPECT_EQ(MXml::Legacy::readPathWaveSize(element), 0);
    element = element->NextSiblingElement("c");
    EXPECT_EQ(MXml::Legacy::readPathWaveSize(element), 256);
    element = element->NextSiblingElement("c");
    EXPECT_EQ(MXml::Legacy::readPathWaveSize(element), 12);
}

TEST(CsvTableText, ValuesAndSemicolons)
{
    std::string text;
    for (const double value : {1.0, 0.1, 0.00001, -std::numeric_limits<double>::quiet_NaN(), INF, -INF, 1e17}) {
        MXml::appendCsvValue(text, value);
        text += ' ';
    }
    EXPECT_EQ(text, "1 0.10000000000000001 1.0000000000000001e-05 nan inf -inf 1e+17 ");
    EXPECT_EQ(removeSemicolons("a;b;;"), "a,b,,");
    EXPECT_EQ(MXml::csvHeaderField("a;b\r\nc"), "a,b  c");
}

TEST(CsvParser, CanHoldBoundsTheDeclaredSize)
{
    const std::string text = "\na;b\n;\n;\n1;2\n3;4\n";
    EXPECT_TRUE(CsvParser::canHold(text, 2, 2));
    EXPECT_FALSE(CsvParser::canHold(text, 2, 100));
    EXPECT_FALSE(CsvParser::canHold(text, 1000, 2));
    EXPECT_FALSE(CsvParser::canHold(text, std::uint64_t{1} << 62, 4));
    EXPECT_TRUE(CsvParser::canHold(text, 0, std::numeric_limits<std::uint64_t>::max()));
}

} // namespace
