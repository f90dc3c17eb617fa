#include "json_test_support.hpp"

#include "marlek_json_common/json_common/protocol/columnheader_json.hpp"
#include "marlek_json_common/json_common/protocol/impedancedataheader_json.hpp"
#include "marlek_json_common/json_common/protocol/livedataheader_json.hpp"
#include "marlek_json_common/json_common/protocol/livedataheadereis_json.hpp"
#include "marlek_json_common/json_common/protocol/pathdataheader_json.hpp"
#include "marlek_json_common/json_common/protocol/potentiostatdataheader_json.hpp"

namespace {

const std::vector<double> neutral{0.0, 1.0};

LiveDataHeaderEis sampleEisHeader()
{
    return LiveDataHeaderEis(
        "Impedance", "IMP", {{"frequency", "Hz", "META:F"}},
        {ImpedanceDataHeader("A:1:U", "A:1:I", {{"impedance", "Ohm", "Z:1"}}, "cell")},
        {PathDataHeader("A:1:U", "voltage", {{"voltage", "V", "A:1:U"}}, UserPolynomial({0.5, 2.0}))},
        {PathDataHeader("T:1", "temperature", {{"temperature", "K"}}, UserPolynomial())},
        {PotentiostatDataHeader{"MAIN:1:POT", {{"bias", "V", "P:1"}}, UserPolynomial({1.0})}});
}

} // namespace

TEST(LiveDataHeaderJson, WritesKeysInOrderAndReadsBack)
{
    const LiveDataHeader header("Cyclic Voltammetry", "CV", {{"time", "s", "MAIN:1:T"}, {"voltage", "V"}});
    const auto written = json::value_from(header);
    EXPECT_EQ(json::serialize(written),
              R"({"measurement_type":"Cyclic Voltammetry","measurement_type_short":"CV",)"
              R"("columns":{"dimensions":["time","voltage"],"units":["s","V"],"urns":["MAIN:1:T",""]}})");

    const auto read = json::value_to<LiveDataHeader>(throughText(written));
    EXPECT_EQ(read.getMeasurementType(), "Cyclic Voltammetry");
    EXPECT_EQ(read.getShortMeasurementType(), "CV");
    EXPECT_EQ(read.getColumns(), header.getColumns());
}

class LiveDataHeaderFallback : public ::testing::TestWithParam<const char*> {};

TEST_P(LiveDataHeaderFallback, ReadsAsEmptyHeaderTextsIncluded)
{
    const auto header = json::value_to<LiveDataHeader>(json::parse(GetParam()));
    EXPECT_EQ(header.getMeasurementType(), "");
    EXPECT_EQ(header.getShortMeasurementType(), "");
    EXPECT_TRUE(header.getColumns().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Malformed, LiveDataHeaderFallback,
    ::testing::Values(R"({"measurement_type":"CV","measurement_type_short":"CV","columns":[]})",
                      R"({"measurement_type_short":"CV","columns":{"dimensions":["t"],"units":["s"]}})",
                      R"({"measurement_type":1,"measurement_type_short":"CV","columns":{}})",
                      R"({"measurement_type":"CV","measurement_type_short":null,"columns":{}})",
                      R"({"measurement_type":"CV","measurement_type_short":"CV"})", R"(["CV"])", "null"));

struct ColumnCase {
    const char* json;
    std::vector<ColumnHeader> expected;
};

class ColumnListRead : public ::testing::TestWithParam<ColumnCase> {};

TEST_P(ColumnListRead, ShortestArrayDecides)
{
    EXPECT_EQ(json::value_to<std::vector<ColumnHeader>>(json::parse(GetParam().json)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ColumnListRead,
    ::testing::Values(
        ColumnCase{R"({"dimensions":["t","u","i"],"units":["s","V"]})", {{"t", "s"}, {"u", "V"}}},
        ColumnCase{R"({"dimensions":["t","u"],"units":["s","V"],"urns":["T:1"]})", {{"t", "s", "T:1"}}},
        ColumnCase{R"({"dimensions":["t"],"units":["s"],"urns":"T:1"})", {{"t", "s"}}},
        ColumnCase{R"({"dimensions":["t"],"urns":["T:1"]})", {}},
        ColumnCase{R"({"dimensions":{},"units":["s"]})", {}},
        ColumnCase{R"(["t"])", {}}));

TEST(ColumnListRead, NonStringElementThrows)
{
    expectJsonError([] { json::value_to<std::vector<ColumnHeader>>(json::parse(R"({"dimensions":[1],"units":["s"]})")); },
                    json::error::not_string);
    // Elements beyond the shortest array are never looked at.
    EXPECT_EQ(json::value_to<std::vector<ColumnHeader>>(json::parse(R"({"dimensions":["t",1],"units":["s"]})")).size(),
              1u);
}

TEST(LiveDataHeaderEisJson, WritesKeysInOrder)
{
    EXPECT_EQ(json::serialize(json::value_from(sampleEisHeader())),
              R"({"measurement_type":"Electrochemical Impedance Spectroscopy","measurement_type_short":"EIS",)"
              R"("impedances":[{"paths":{"numerator":"A:1:U","denominator":"A:1:I"},"impedance_name":"cell",)"
              R"("dimensions":["impedance"],"units":["Ohm"]}],)"
              R"("paths":[{"name":"voltage","dimensions":["voltage"],"polynomial":[5E-1,2E0],"units":["V"],"uri":"A:1:U"}],)"
              R"("async_paths":[{"name":"temperature","dimensions":["temperature"],"polynomial":[0E0,1E0],)"
              R"("units":["K"],"uri":"T:1"}],)"
              R"("potentiostats":[{"dimensions":["bias"],"polynomial":[1E0],"units":["V"],"uri":"MAIN:1:POT"}],)"
              R"("meta":{"dimensions":["frequency"],"units":["Hz"]}})");
}

TEST(LiveDataHeaderEisJson, RoundTripKeepsStructureButLosesUrns)
{
    const auto original = sampleEisHeader();
    auto written = json::value_from(original);
    written.as_object()["measurement_type"] = "as sent";
    const auto read = json::value_to<LiveDataHeaderEis>(throughText(written));

    EXPECT_EQ(read.getMeasurementType(), "as sent");
    EXPECT_EQ(read.getShortMeasurementType(), "EIS");
    ASSERT_EQ(read.getMetaColumns().size(), 1u);
    EXPECT_EQ(read.getMetaColumns()[0], ColumnHeader("frequency", "Hz"));
    ASSERT_EQ(read.getImpedances().size(), 1u);
    EXPECT_EQ(read.getImpedances()[0].getImpedanceName(), "cell");
    EXPECT_EQ(read.getImpedances()[0].getColumns()[0], ColumnHeader("impedance", "Ohm"));
    ASSERT_EQ(read.getPaths().size(), 1u);
    EXPECT_EQ(read.getPaths()[0].getName(), "voltage");
    EXPECT_EQ(read.getPaths()[0].getPolynomial().coefficients, (std::vector<double>{0.5, 2.0}));
    EXPECT_EQ(read.getPaths()[0].getColumns()[0].urn, "");
    EXPECT_EQ(read.getAsyncPaths()[0].getUri(), "T:1");
    EXPECT_EQ(read.getPotentiostats()[0].polynomial.coefficients, std::vector<double>{1.0});
    // The uris of the path columns were dropped, so the paths no longer match.
    EXPECT_NE(read, original);
}

class LiveDataHeaderEisFallback : public ::testing::TestWithParam<const char*> {};

TEST_P(LiveDataHeaderEisFallback, AnyMissingOrMistypedListGivesCompletelyEmptyHeader)
{
    auto value = json::value_from(sampleEisHeader());
    const std::string_view key = GetParam();
    if (key.starts_with('-')) {
        value.as_object().erase(key.substr(1));
    } else {
        value.as_object()[key] = "wrong kind";
    }
    const auto header = json::value_to<LiveDataHeaderEis>(value);
    EXPECT_EQ(header.getMeasurementType(), "");
    EXPECT_EQ(header.getShortMeasurementType(), "");
    EXPECT_TRUE(header.getMetaColumns().empty());
    EXPECT_TRUE(header.getImpedances().empty());
    EXPECT_TRUE(header.getPaths().empty());
    EXPECT_TRUE(header.getAsyncPaths().empty());
    EXPECT_TRUE(header.getPotentiostats().empty());
}

INSTANTIATE_TEST_SUITE_P(Keys, LiveDataHeaderEisFallback,
                         ::testing::Values("-async_paths", "-meta", "-measurement_type_short", "paths",
                                           "potentiostats", "impedances", "meta"));

TEST(LiveDataHeaderEisJson, MalformedPolynomialInsideAPathPropagates)
{
    auto value = json::value_from(sampleEisHeader());
    value.at("paths").as_array()[0].as_object()["polynomial"] = json::array{1.0, "2"};
    expectJsonError([&] { json::value_to<LiveDataHeaderEis>(value); }, json::error::not_number);
}

TEST(PathDataHeaderJson, DefaultsOfMissingMembers)
{
    const auto unnamed = json::value_to<PathDataHeader>(json::parse(R"({"uri":"A:1","polynomial":[]})"));
    EXPECT_EQ(unnamed.getName(), "unnamed");
    EXPECT_EQ(unnamed.getUri(), "A:1");
    EXPECT_EQ(unnamed.getPolynomial().coefficients, neutral);

    const auto noPolynomial = json::value_to<PathDataHeader>(json::parse(R"({"name":"u","uri":5})"));
    EXPECT_EQ(noPolynomial.getUri(), "");
    EXPECT_EQ(noPolynomial.getPolynomial().coefficients, neutral);

    const auto notAnObject = json::value_to<PathDataHeader>(json::parse("42"));
    EXPECT_EQ(notAnObject.getName(), "");
    EXPECT_TRUE(notAnObject.getColumns().empty());
    EXPECT_EQ(notAnObject.getPolynomial().coefficients, neutral);
}

TEST(PotentiostatDataHeaderJson, PolynomialKeyWinsOverPotentiostaticPolynomial)
{
    const auto only = json::value_to<PotentiostatDataHeader>(
        json::parse(R"({"uri":"P","potentiostatic_polynomial":[2.0,3.0]})"));
    EXPECT_EQ(only.polynomial.coefficients, (std::vector<double>{2.0, 3.0}));

    const auto both = json::value_to<PotentiostatDataHeader>(
        json::parse(R"({"uri":"P","polynomial":[4.0],"potentiostatic_polynomial":[2.0,3.0]})"));
    EXPECT_EQ(both.polynomial.coefficients, std::vector<double>{4.0});

    const auto neither = json::value_to<PotentiostatDataHeader>(json::parse(R"({"uri":"P"})"));
    EXPECT_EQ(neither.polynomial.coefficients, neutral);
}

struct ImpedanceNameCase {
    const char* json;
    const char* numerator;
    const char* denominator;
    const char* name;
};

class ImpedanceDataHeaderRead : public ::testing::TestWithParam<ImpedanceNameCase> {};

TEST_P(ImpedanceDataHeaderRead, PathsAndName)
{
    const auto header = json::value_to<ImpedanceDataHeader>(json::parse(GetParam().json));
    EXPECT_EQ(header.getNumeratorPath(), GetParam().numerator);
    EXPECT_EQ(header.getDenominatorPath(), GetParam().denominator);
    EXPECT_EQ(header.getImpedanceName(), GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ImpedanceDataHeaderRead,
    ::testing::Values(
        ImpedanceNameCase{R"({"paths":{"numerator":"A:1:X","denominator":"B:2:Y"}})", "A:1:X", "B:2:Y", "A.1.X/B.2.Y"},
        ImpedanceNameCase{R"({"paths":{"numerator":"A:1:X","denominator":"B:2:Y"},"impedance_name":""})", "A:1:X",
                          "B:2:Y", "A.1.X/B.2.Y"},
        ImpedanceNameCase{R"({"paths":{"numerator":"A:1","denominator":"B"},"impedance_name":"cell:1"})", "A:1", "B",
                          "cell:1"},
        ImpedanceNameCase{R"({"paths":{"numerator":"A:1:X"}})", "", "", ""},
        ImpedanceNameCase{R"({"paths":{"numerator":"A:1:X","denominator":7},"impedance_name":"z"})", "", "", "z"},
        ImpedanceNameCase{R"({"paths":["A","B"]})", "", "", ""}, ImpedanceNameCase{R"("A/B")", "", "", ""}));

TEST(ImpedanceDataHeader, NameDerivedWhenOnlyOnePathIsGiven)
{
    EXPECT_EQ(ImpedanceDataHeader("A:1", "", {}, "").getImpedanceName(), "A.1/");
}

TEST(LiveDataHeaderEquality, IgnoresLabelsMetaColumnsNamesAndPolynomials)
{
    const auto a = sampleEisHeader();
    const LiveDataHeaderEis relabelled(
        "other", "O", {},
        {ImpedanceDataHeader("A:1:U", "A:1:I", {}, "renamed")},
        {PathDataHeader("A:1:U", "renamed", {{"voltage", "V", "A:1:U"}}, UserPolynomial({9.0}))},
        {PathDataHeader("T:1", "t", {{"temperature", "K"}}, UserPolynomial({3.0}))},
        {PotentiostatDataHeader{"MAIN:1:POT", {{"bias", "V", "P:1"}}, UserPolynomial({7.0})}});
    EXPECT_EQ(a, relabelled);

    const LiveDataHeaderEis otherColumnUrn(
        "Impedance", "IMP", {{"frequency", "Hz", "META:F"}},
        {ImpedanceDataHeader("A:1:U", "A:1:I", {}, "cell")},
        {PathDataHeader("A:1:U", "voltage", {{"voltage", "V", "other"}}, UserPolynomial())},
        {PathDataHeader("T:1", "temperature", {{"temperature", "K"}}, UserPolynomial())},
        {PotentiostatDataHeader{"MAIN:1:POT", {{"bias", "V", "P:1"}}, UserPolynomial()}});
    EXPECT_NE(a, otherColumnUrn);

    const LiveDataHeaderEis noAsyncPaths("Impedance", "IMP", {}, a.getImpedances(), a.getPaths(), {},
                                         a.getPotentiostats());
    EXPECT_NE(a, noAsyncPaths);

    EXPECT_EQ(LiveDataHeader("a", "A", {{"t", "s"}}), LiveDataHeader("b", "B", {{"t", "s"}}));
    EXPECT_NE(LiveDataHeader("a", "A", {{"t", "s"}}), LiveDataHeader("a", "A", {{"t", "ms"}}));
}
