#include "json_test_support.hpp"

#include "marlek_json_common/json_common/complex.hpp"
#include "marlek_json_common/json_common/configuration/impedance_configuration_json.hpp"
#include "marlek_json_common/json_common/configuration/user_polynomial_json.hpp"
#include "marlek_json_common/json_common/job_parameters/drift_correction_json.hpp"
#include "marlek_json_common/json_common/vector.hpp"

#include <clocale>
#include <cmath>
#include <iterator>
#include <limits>
#include <set>
#include <stdexcept>

struct PolynomialCase {
    const char* json;
    std::vector<double> expected;
};

class PolynomialRead : public ::testing::TestWithParam<PolynomialCase> {};

TEST_P(PolynomialRead, EmptyOrMissingIsNeutral)
{
    EXPECT_EQ(json::value_to<UserPolynomial>(json::parse(GetParam().json)).coefficients, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, PolynomialRead,
                         ::testing::Values(PolynomialCase{"[]", {0.0, 1.0}}, PolynomialCase{"null", {0.0, 1.0}},
                                           PolynomialCase{R"({"a":1})", {0.0, 1.0}},
                                           PolynomialCase{"[2, 3]", {2.0, 3.0}},
                                           PolynomialCase{"[-1.5, 18446744073709551615]", {-1.5, 18446744073709551615.0}}));

TEST(UserPolynomialJson, NonNumberElementThrows)
{
    expectJsonError([] { json::value_to<UserPolynomial>(json::parse(R"(["2"])")); }, json::error::not_number);
}

TEST(UserPolynomialJson, WritesDoublesEvenForAnEmptyList)
{
    EXPECT_EQ(json::serialize(json::value_from(UserPolynomial({2.0, 3.0}))), "[2E0,3E0]");
    UserPolynomial empty;
    empty.coefficients.clear();
    EXPECT_EQ(json::serialize(json::value_from(empty)), "[]");
}

TEST(UserPolynomial, ConstructionAndOrdering)
{
    EXPECT_EQ(UserPolynomial(std::vector<double>{}).coefficients, (std::vector<double>{0.0, 1.0}));
    EXPECT_TRUE(UserPolynomial({1.0}) < UserPolynomial({1.0, 0.0}));
    EXPECT_TRUE(UserPolynomial({0.0, 2.0}) < UserPolynomial({1.0}));
    EXPECT_FALSE(UserPolynomial({1.0, 2.0}) < UserPolynomial({1.0, 2.0}));
}

// NaN sorts after every number and ties with NaN, so the next coefficient
// decides; without that, sorted containers of polynomials misbehave.
TEST(UserPolynomial, NanCoefficientsOrderStrictly)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        UserPolynomial a;
        UserPolynomial b;
        bool less;
    };
    const Case cases[] = {
        {UserPolynomial({1.0}), UserPolynomial({nan}), true},
        {UserPolynomial({nan}), UserPolynomial({1.0}), false},
        {UserPolynomial({inf}), UserPolynomial({-nan}), true},
        {UserPolynomial({nan}), UserPolynomial({nan}), false},
        {UserPolynomial({nan, 1.0}), UserPolynomial({nan, 2.0}), true},
        {UserPolynomial({nan, 2.0}), UserPolynomial({nan, 1.0}), false},
        {UserPolynomial({nan}), UserPolynomial({nan, 0.0}), true},
        {UserPolynomial({0.0, nan}), UserPolynomial({1.0, 0.0}), true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.a < c.b, c.less) << ::testing::PrintToString(c.a.coefficients) << " < "
                                     << ::testing::PrintToString(c.b.coefficients);
    }

    // A sorted set keeps one of each and finds them again.
    std::set<UserPolynomial> sorted{UserPolynomial({nan}), UserPolynomial({1.0}), UserPolynomial({nan}),
                                    UserPolynomial({nan, 1.0}), UserPolynomial({0.0})};
    ASSERT_EQ(sorted.size(), 4U);
    EXPECT_EQ(sorted.begin()->coefficients, std::vector<double>{0.0});
    EXPECT_TRUE(sorted.contains(UserPolynomial({nan, 1.0})));
    EXPECT_TRUE(std::isnan(std::prev(sorted.end())->coefficients.at(0)));
}

TEST(ImpedanceConfigurationJson, KeyOrderAndTolerantRead)
{
    const ImpedanceConfiguration configuration{"MAIN:1:POT:U~ZMU:1:ZMU_U", "MAIN:1:POT:I~ZMU:1:ZMU_I", "Main cell"};
    const auto written = json::value_from(configuration);
    EXPECT_EQ(json::serialize(written), R"({"numerator":"MAIN:1:POT:U~ZMU:1:ZMU_U",)"
                                        R"("denominator":"MAIN:1:POT:I~ZMU:1:ZMU_I","impedance_name":"Main cell"})");
    EXPECT_EQ(json::value_to<ImpedanceConfiguration>(written), configuration);

    EXPECT_EQ(json::value_to<ImpedanceConfiguration>(json::parse(R"({"numerator":"A","impedance_name":5})")),
              (ImpedanceConfiguration{"A", "", ""}));
    EXPECT_EQ(json::value_to<ImpedanceConfiguration>(json::parse("[]")), ImpedanceConfiguration{});
}

TEST(ComplexJson, StrictlyTwoDoubles)
{
    EXPECT_EQ(json::value_to<std::complex<double>>(json::parse(R"({"real":1.0,"imag":-2.5})")),
              std::complex<double>(1.0, -2.5));
    expectJsonError([] { json::value_to<std::complex<double>>(json::parse(R"({"real":1,"imag":0.0})")); },
                    json::error::not_double);
    expectJsonError([] { json::value_to<std::complex<double>>(json::parse(R"({"real":1.0})")); },
                    json::error::not_found);
    expectJsonError([] { json::value_to<std::complex<double>>(json::parse("[1.0,2.0]")); }, json::error::not_object);
}

TEST(SpectrumMapJson, WritesScientificKeysInAscendingOrder)
{
    const SpectrumMap spectrum{{1000.0, {1.0, -2.0}}, {0.5, {0.0, 0.0}}};
    const auto written = json::value_from(spectrum);
    EXPECT_EQ(json::serialize(written), R"({"5.000000000000000e-01":{"real":0E0,"imag":0E0},)"
                                        R"("1.000000000000000e+03":{"real":1E0,"imag":-2E0}})");
    EXPECT_EQ(json::value_to<SpectrumMap>(throughText(written)), spectrum);
}

TEST(SpectrumMapJson, KeysNamingOneFrequencyCollapseToTheLaterMember)
{
    const auto spectrum = json::value_to<SpectrumMap>(
        json::parse(R"({"1e3":{"real":1.0,"imag":1.0},"1000":{"real":2.0,"imag":2.0}})"));
    EXPECT_EQ(spectrum, (SpectrumMap{{1000.0, {2.0, 2.0}}}));
}

struct KeyCase {
    const char* key;
    double frequency;
};

class SpectrumKeyRead : public ::testing::TestWithParam<KeyCase> {};

TEST_P(SpectrumKeyRead, ReadsLikeTheStandardConversion)
{
    json::object members;
    members[GetParam().key] = json::object{{"real", 1.0}, {"imag", 0.0}};
    const auto spectrum = json::value_to<SpectrumMap>(json::value(members));
    ASSERT_EQ(spectrum.size(), 1u);
    EXPECT_EQ(spectrum.begin()->first, GetParam().frequency);
}

INSTANTIATE_TEST_SUITE_P(Cases, SpectrumKeyRead,
                         ::testing::Values(KeyCase{"1.000000000000000e+03", 1000.0}, KeyCase{"  12.5", 12.5},
                                           KeyCase{"+2", 2.0}, KeyCase{"-3e-1", -0.3}, KeyCase{"100Hz", 100.0},
                                           KeyCase{"0x10", 16.0}, KeyCase{"inf", HUGE_VAL}));

TEST(SpectrumMapJson, UnreadableKeysAndValuesThrow)
{
    const auto readKey = [](const char* key) {
        json::object members;
        members[key] = json::object{{"real", 1.0}, {"imag", 0.0}};
        return json::value_to<SpectrumMap>(json::value(members));
    };
    for (const char* key : {"abc", "", "  ", "+-1", "nan"}) {
        SCOPED_TRACE(key);
        EXPECT_THROW(readKey(key), std::invalid_argument);
    }
    EXPECT_THROW(readKey("1e999"), std::out_of_range);
    expectJsonError([] { json::value_to<SpectrumMap>(json::parse(R"({"1":{"real":1,"imag":0.0}})")); },
                    json::error::not_double);
    expectJsonError([] { json::value_to<SpectrumMap>(json::parse("[]")); }, json::error::not_object);
}

TEST(SpectrumMapJson, KeysDoNotDependOnTheNumericLocale)
{
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous != nullptr ? previous : "C";
    bool switched = false;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8"}) {
        if (std::setlocale(LC_NUMERIC, name) != nullptr) {
            switched = true;
            break;
        }
    }
    if (!switched) {
        GTEST_SKIP() << "no locale with a decimal comma installed";
    }
    const auto spectrum = json::value_to<SpectrumMap>(json::parse(R"({"1.5e+03":{"real":1.0,"imag":0.0}})"));
    std::setlocale(LC_NUMERIC, saved.c_str());
    ASSERT_EQ(spectrum.size(), 1u);
    EXPECT_EQ(spectrum.begin()->first, 1500.0);
}

struct DriftCase {
    const char* json;
    std::optional<DriftCorrection> expected;
};

class DriftCorrectionRead : public ::testing::TestWithParam<DriftCase> {};

TEST_P(DriftCorrectionRead, ExactNamesOnly)
{
    EXPECT_EQ(readOptionalDriftCorrection(json::parse(GetParam().json).as_object()), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, DriftCorrectionRead,
                         ::testing::Values(DriftCase{R"({"drift_correction":"FULL"})", DriftCorrection::FULL},
                                           DriftCase{R"({"drift_correction":"DC_ONLY"})", DriftCorrection::DC_ONLY},
                                           DriftCase{R"({"drift_correction":"OFF"})", DriftCorrection::OFF},
                                           DriftCase{R"({"drift_correction":"dc_only"})", std::nullopt},
                                           DriftCase{R"({"drift_correction":1})", std::nullopt},
                                           DriftCase{R"({})", std::nullopt}));

TEST(DriftCorrectionWrite, SetsReplacesOrLeavesAlone)
{
    json::object object{{"drift_correction", "kept"}};
    writeOptionalDriftCorrection(object, std::nullopt);
    EXPECT_EQ(object.at("drift_correction"), "kept");

    writeOptionalDriftCorrection(object, DriftCorrection::OFF);
    EXPECT_EQ(object.at("drift_correction"), "OFF");
    EXPECT_EQ(object.size(), 1u);

    writeOptionalDriftCorrection(object, static_cast<DriftCorrection>(9));
    EXPECT_EQ(object.at("drift_correction"), "FULL");
    EXPECT_EQ(DRIFT_CORRECTION_KEY, "drift_correction");
}
