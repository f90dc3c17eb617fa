#include "support/decimal_comma_locale.hpp"

#include "marlek_json_common/json_common/text/number_text.hpp"
#include "marlek_link_json/xml/xml_number_text.hpp"

#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr double Inf = std::numeric_limits<double>::infinity();
const double NaN = std::numeric_limits<double>::quiet_NaN();

// Equal values, NaN equal to NaN, and the same sign also for zeros.
bool same(std::optional<double> a, std::optional<double> b)
{
    if (!a || !b) {
        return a.has_value() == b.has_value();
    }
    if (std::isnan(*a) || std::isnan(*b)) {
        return std::isnan(*a) && std::isnan(*b);
    }
    return *a == *b && std::signbit(*a) == std::signbit(*b);
}

std::string printed(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

// strtod's value and the length of the number it read; no value when it
// read none.
std::pair<std::optional<double>, std::size_t> readByTheCLibrary(const std::string& text)
{
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    const auto length = static_cast<std::size_t>(end - text.c_str());
    return {length == 0 ? std::nullopt : std::optional<double>(value), length};
}

struct WriteCase {
    double value;
    const char* seventeen;
    const char* shortest;
};

} // namespace

TEST(NumberText, WritesTheTextsOfTheCLocale)
{
    const std::vector<WriteCase> cases{
        {0.5, "0.5", "0.5"},
        {0.1, "0.10000000000000001", "0.1"},
        {-0.25, "-0.25", "-0.25"},
        {100000.0, "100000", "1e+05"},
        {1e15, "1000000000000000", "1e+15"},
        {0.0001, "0.0001", "1e-04"},
        {1e22, "1e+22", "1e+22"},
        {-0.0, "-0", "-0"},
        {5e-324, "4.9406564584124654e-324", "5e-324"},
        {std::numeric_limits<double>::max(), "1.7976931348623157e+308", "1.7976931348623157e+308"},
        {Inf, "inf", "inf"},
        {-Inf, "-inf", "-inf"},
        {NaN, "nan", "nan"},
        {-NaN, "nan", "-nan"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.seventeen);
        EXPECT_EQ(numtext::seventeenDigits(c.value), c.seventeen);
        EXPECT_EQ(numtext::shortest(c.value), c.shortest);
        std::string text = "x;";
        numtext::appendSeventeenDigits(text, c.value);
        EXPECT_EQ(text, std::string("x;") + c.seventeen);
    }
}

// Files written before keep their exact text: the seventeen digits are
// printf's in the "C" locale for any bit pattern that is not NaN.
TEST(NumberText, SeventeenDigitsMatchPrintfForRandomBitPatterns)
{
    std::mt19937_64 random(20261211);
    for (int i = 0; i < 200000; ++i) {
        const std::uint64_t bits = random();
        double value = 0.0;
        std::memcpy(&value, &bits, sizeof value);
        if (std::isnan(value)) {
            continue;
        }
        ASSERT_EQ(numtext::seventeenDigits(value), printed(value)) << bits;
        ASSERT_TRUE(same(numtext::parseDouble(numtext::seventeenDigits(value)), value)) << bits;
    }
}

TEST(NumberText, ParseDoubleReadsOnlyAWholeNumber)
{
    const std::vector<std::pair<const char*, std::optional<double>>> cases{
        {"0.25", 0.25},      {"-1.5e3", -1500.0},     {".5", 0.5},       {"5.", 5.0},           {"1E-2", 0.01},
        {"inf", Inf},        {"-Infinity", -Inf},     {"nan", NaN},      {"-0", -0.0},          {"", std::nullopt},
        {"0,5", std::nullopt}, {"+1", std::nullopt},  {" 1", std::nullopt}, {"1 ", std::nullopt}, {"1e5x", std::nullopt},
        {"0x10", std::nullopt}, {"1e400", std::nullopt}, {"-", std::nullopt}, {".", std::nullopt},
    };
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(text);
        EXPECT_TRUE(same(numtext::parseDouble(text), expected));
    }
}

// The lenient reader stands in for the C library's strtod in the "C" locale,
// on which the readers of XML numbers and spectrum keys relied; the tests run
// in that locale.
TEST(NumberText, LeadingDoubleReadsWhatTheCLibraryReadsInTheCLocale)
{
    for (const std::string text :
         {"0.25", "  -1.5e3xyz", "\t\n+2", "+-1", "-+1", "0x1p3", "-0X1.8P1", "0x.8", "0xg", "0x", "0x-1", "inf",
          "-Infinity", "infx", "nan", "-nan", "NaN(12)", "1e400", "-1e400", "1e-400", "-1e-400", "4e-320",
          "100000e-330", "0.000001e310", "1.7976931348623159e308", "0.0000e999999", "0e-999", "1e", "1.5e+", ".5",
          "5.", ".", "-", "", "   ", "abc", "0,5", "12,5"}) {
        SCOPED_TRACE(text);
        const auto [expected, length] = readByTheCLibrary(text);
        EXPECT_TRUE(same(numtext::parseLeadingDouble(text), expected));
        double value = 0.0;
        const auto result = numtext::scanDouble(text, value);
        EXPECT_EQ(static_cast<std::size_t>(result.ptr - text.data()), length);
    }
}

TEST(NumberText, ScanDoubleSaysWhereTheNumberEndsAndWhetherItFits)
{
    struct Case {
        std::string text;
        std::errc error;
        double value;
        std::size_t length;
    };
    const std::vector<Case> cases{
        {" 1.5Hz", std::errc{}, 1.5, 4},
        {"1e999", std::errc::result_out_of_range, Inf, 5},
        {"-1e-999;", std::errc::result_out_of_range, -0.0, 7},
        {"0xffp-2", std::errc{}, 63.75, 7},
        {"abc", std::errc::invalid_argument, 7.0, 0},
        {"--1", std::errc::invalid_argument, 7.0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        double value = 7.0;
        const auto result = numtext::scanDouble(c.text, value);
        EXPECT_EQ(result.ec, c.error);
        EXPECT_TRUE(same(value, c.value));
        EXPECT_EQ(static_cast<std::size_t>(result.ptr - c.text.data()), c.length);
    }
}

TEST(NumberText, ParseIntegerReadsOnlyAWholeDecimalThatFits)
{
    EXPECT_EQ(numtext::parseInteger<std::int64_t>("-3"), -3);
    EXPECT_EQ(numtext::parseInteger<std::uint64_t>("18446744073709551615"), UINT64_MAX);
    EXPECT_EQ(numtext::parseInteger<int>("2147483647"), 2147483647);
    for (const char* text : {"-1", "18446744073709551616", "", " 1", "1 ", "+1", "12a", "0x1", "1.0"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(numtext::parseInteger<std::uint64_t>(text), std::nullopt);
    }
    EXPECT_EQ(numtext::parseInteger<int>("2147483648"), std::nullopt);
}

TEST(NumberText, ParseLeadingIntegerIgnoresWhatFollowsTheDigits)
{
    EXPECT_EQ(numtext::parseLeadingInteger<std::uint64_t>("2rows"), 2u);
    EXPECT_EQ(numtext::parseLeadingInteger<std::uint64_t>("7"), 7u);
    EXPECT_EQ(numtext::parseLeadingInteger<std::int64_t>("-3.5"), -3);
    for (const char* text : {"", "rows", " 1", "+1", "-1", "18446744073709551616"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(numtext::parseLeadingInteger<std::uint64_t>(text), std::nullopt);
    }
}

TEST(NumberText, IgnoresTheProcessLocale)
{
    locale_test::DecimalCommaLocale decimalComma;
    if (!decimalComma.active()) {
        GTEST_SKIP() << locale_test::DecimalCommaLocale::MISSING;
    }
    // What the C library does meanwhile.
    ASSERT_EQ(printed(0.5), "0,5");

    EXPECT_EQ(numtext::seventeenDigits(0.5), "0.5");
    EXPECT_EQ(numtext::shortest(-1.25), "-1.25");
    std::string text;
    numtext::appendSeventeenDigits(text, 0.1);
    EXPECT_EQ(text, "0.10000000000000001");
    EXPECT_EQ(numtext::parseDouble("0.25"), 0.25);
    EXPECT_EQ(numtext::parseDouble("0,25"), std::nullopt);
    EXPECT_EQ(numtext::parseLeadingDouble(" 1.5e-1"), 0.15);
    EXPECT_EQ(numtext::parseLeadingDouble("1,5"), 1.0);
}

TEST(XmlNumberText, WritesAndReadsTextAndAttributesWhateverTheLocale)
{
    locale_test::DecimalCommaLocale decimalComma;
    if (!decimalComma.active()) {
        GTEST_SKIP() << locale_test::DecimalCommaLocale::MISSING;
    }
    tinyxml2::XMLDocument document;
    auto* element = document.NewElement("e");
    document.InsertEndChild(element);
    MXml::setDoubleText(element, 0.25);
    MXml::setDoubleAttribute(element, "a", -1.5);
    MXml::setDoubleAttribute(element, "n", -NaN);
    tinyxml2::XMLPrinter printer(nullptr, true);
    document.Print(&printer);
    EXPECT_STREQ(printer.CStr(), "<e a=\"-1.5\" n=\"nan\">0.25</e>");
    EXPECT_EQ(MXml::doubleText(*element), 0.25);
    EXPECT_EQ(MXml::doubleAttribute(*element, "a"), -1.5);
    EXPECT_TRUE(std::isnan(MXml::doubleAttribute(*element, "n").value_or(0.0)));
    EXPECT_EQ(MXml::doubleAttribute(*element, "missing"), std::nullopt);
}

TEST(XmlNumberText, ReadsTheFirstChildWhenItIsText)
{
    const std::vector<std::pair<const char*, std::optional<double>>> cases{
        {"<e> 1.5 </e>", 1.5},
        {"<e>2.5V</e>", 2.5},
        {"<e><![CDATA[3.5]]></e>", 3.5},
        {"<e/>", std::nullopt},
        {"<e><x/>1</e>", std::nullopt},
        {"<e>volt</e>", std::nullopt},
    };
    for (const auto& [xml, expected] : cases) {
        SCOPED_TRACE(xml);
        tinyxml2::XMLDocument document;
        ASSERT_EQ(document.Parse(xml), tinyxml2::XML_SUCCESS);
        EXPECT_TRUE(same(MXml::doubleText(*document.RootElement()), expected));
    }
}

// Record fields, job-information and hardware numbers were read with the XML
// library's QueryDoubleText and QueryDoubleAttribute (sscanf's "%lf"): blanks
// and "+" before the number, hexadecimal, any spelling of inf and nan, what
// follows ignored, beyond the range an infinity. The readers keep that rule,
// in the "C" locale whatever the process's; the tests run in that locale.
TEST(XmlNumberText, ReadsWhatTheXmlLibraryReadsInTheCLocale)
{
    for (const char* text : {"0.25", " 1.5", "\t+2", "+-1", "0x10", "0x1p-2", "inf", "-Infinity", "INF", "nan",
                             "NaN(1)", "1.5abc", "1e400", "-1e400", "1e-400", "4e-320", "abc", "", " ", ",5", "1,5",
                             ".5", "5.", "1e", "-"}) {
        SCOPED_TRACE(text);
        tinyxml2::XMLDocument document;
        auto* element = document.NewElement("e");
        document.InsertEndChild(element);
        element->InsertEndChild(document.NewText(text));
        element->SetAttribute("a", text);

        double byTheLibrary = 0.0;
        const bool textRead = element->QueryDoubleText(&byTheLibrary) == tinyxml2::XML_SUCCESS;
        EXPECT_TRUE(same(MXml::doubleText(*element), textRead ? std::optional(byTheLibrary) : std::nullopt));
        const bool attributeRead = element->QueryDoubleAttribute("a", &byTheLibrary) == tinyxml2::XML_SUCCESS;
        EXPECT_TRUE(
            same(MXml::doubleAttribute(*element, "a"), attributeRead ? std::optional(byTheLibrary) : std::nullopt));
    }
}

TEST(NumberText, ParseDoublePrefixReadsTheGeneralNumberThatStartsTheText)
{
    const std::vector<std::pair<const char*, std::optional<double>>> cases{
        {"0.25", 0.25},        {"1.5s", 1.5},          {"-1e-3;", -0.001},    {"0x10", 0.0},
        {"inf", Inf},          {"-Infinity", -Inf},    {"nan", NaN},          {".5", 0.5},
        {"1e", 1.0},           {"+1", std::nullopt},   {" 1", std::nullopt},  {"", std::nullopt},
        {"1e400", std::nullopt}, {"-1e400", std::nullopt}, {"1e-400", std::nullopt}, {"x", std::nullopt},
    };
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(text);
        EXPECT_TRUE(same(numtext::parseDoublePrefix(text), expected));
    }
}
