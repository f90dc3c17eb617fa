#include "json_test_support.hpp"
#include "support/decimal_comma_locale.hpp"

#include "marlek_json_common/json_common/job_parameters/eis_parameters_json.hpp"
#include "marlek_json_common/json_common/job_parameters/geis_parameters_json.hpp"

namespace {

EisParametersGenerate sampleGenerate()
{
    return EisParametersGenerate{.bias = 0.0,
                                 .min_frequency = 100.0,
                                 .max_frequency = 1000000.0,
                                 .start_frequency = 10000.0,
                                 .points_per_decade_upper = 20,
                                 .points_per_decade_lower = 5,
                                 .pre_duration = 0.1,
                                 .pre_waves = 1,
                                 .meas_duration = 1.0,
                                 .meas_waves = 5,
                                 .amplitude = 0.01};
}

const EisParametersFrequencyTableEntry entryA{1000.0, 0.01, 0.5, 2, 1.5, 10};
const EisParametersFrequencyTableEntry entryB{10.0, 0.02, 0.0, 0, 3.0, 3};

template <typename R>
R sample();

template <>
EisParametersGenerate sample()
{
    auto r = sampleGenerate();
    r.drift_correction = DriftCorrection::OFF;
    return r;
}

template <>
EisParametersFrequencyTable sample()
{
    return {.bias = 0.25, .spectrum = {entryA, entryB}, .drift_correction = DriftCorrection::FULL};
}

template <>
EisMultiSineTable sample()
{
    return {.bias = 0.1,
            .pre_duration = 1.0,
            .pre_waves = 2,
            .meas_duration = 4.0,
            .meas_waves = 8,
            .amplitude = 0.05,
            .fundamental_frequency = 0.1,
            .harmonics = {{1, 1.0}, {3, 0.5}},
            .multisine_wave_in_result = false,
            .drift_correction = DriftCorrection::DC_ONLY};
}

template <>
EisMultisineParametersGenerate sample()
{
    return {.bias = -0.2,
            .min_frequency = 0.01,
            .max_frequency = 1e5,
            .start_frequency = 1e3,
            .points_per_decade_upper = 10,
            .points_per_decade_lower = 4,
            .pre_duration = 0.5,
            .pre_waves = 1,
            .amplitude = 0.01,
            .meas_duration = 0.2,
            .meas_waves = 3,
            .multisine_pre_waves = 1,
            .multisine_meas_waves = 2,
            .multisine_decades = 2,
            .multisine_starting_harmonic = 3,
            .multisine_wave_in_result = true};
}

template <>
GeisVaParametersGenerate sample()
{
    return {.bias = 1e-3,
            .min_frequency = 1.0,
            .max_frequency = 1e4,
            .start_frequency = 100.0,
            .points_per_decade_upper = 7,
            .points_per_decade_lower = 3,
            .pre_duration = 0.1,
            .pre_waves = 2,
            .meas_duration = 0.3,
            .meas_waves = 4,
            .amplitude = 0.01,
            .minimum_current_amplitude = 1e-6,
            .maximum_current_amplitude = 1e-2};
}

template <>
GeisVaParametersFrequencyTable sample()
{
    return {.bias = 2e-3,
            .minimum_current_amplitude = 1e-7,
            .maximum_current_amplitude = 5e-3,
            .spectrum = {entryB},
            .drift_correction = DriftCorrection::OFF};
}

} // namespace

template <typename R>
class ImpedanceRecordJson : public ::testing::Test {};

using ImpedanceRecords = ::testing::Types<EisParametersFrequencyTable, EisParametersGenerate, EisMultiSineTable,
                                          EisMultisineParametersGenerate, GeisVaParametersGenerate,
                                          GeisVaParametersFrequencyTable>;
TYPED_TEST_SUITE(ImpedanceRecordJson, ImpedanceRecords);

TYPED_TEST(ImpedanceRecordJson, ReadsBackEqualAfterText)
{
    const auto original = sample<TypeParam>();
    const auto text = json::serialize(json::value_from(original));
    // Counts travel as integers and come back signed; they must still read.
    EXPECT_EQ(json::value_to<TypeParam>(json::parse(text)), original) << text;
    EXPECT_EQ(json::value_to<TypeParam>(json::value_from(TypeParam{})), TypeParam{});
}

// The JSON text of the wire and of stored records is that of the "C" locale
// and reads back whole while a host runs under a decimal comma.
TYPED_TEST(ImpedanceRecordJson, LocaleChangesNeitherTextNorValues)
{
    const TypeParam original = sample<TypeParam>();
    const auto inTheCLocale = json::serialize(json::value_from(original));

    locale_test::DecimalCommaLocale decimalComma;
    if (!decimalComma.active()) {
        GTEST_SKIP() << locale_test::DecimalCommaLocale::MISSING;
    }
    EXPECT_EQ(json::serialize(json::value_from(original)), inTheCLocale);
    EXPECT_EQ(json::value_to<TypeParam>(json::parse(inTheCLocale)), original) << inTheCLocale;
}

TYPED_TEST(ImpedanceRecordJson, ValueThatIsNotAnObjectThrows)
{
    expectJsonError([] { json::value_to<TypeParam>(json::parse("[1,2]")); }, json::error::not_object);
    expectJsonError([] { json::value_to<TypeParam>(json::value()); }, json::error::not_object);
}

TYPED_TEST(ImpedanceRecordJson, MissingFrequencyRangeGivesDefaultRecordAndDropsOptionals)
{
    auto value = json::value_from(sample<TypeParam>());
    value.as_object()["drift_correction"] = "FULL";
    value.as_object().erase("frequency_range");
    EXPECT_EQ(json::value_to<TypeParam>(value), TypeParam{});
}

TEST(EisParametersGenerateJson, WritesTwoTopLevelKeysWithTypeFirstAndUnsignedCounts)
{
    const auto written = json::value_from(sampleGenerate());
    EXPECT_EQ(json::serialize(written),
              R"({"bias":0E0,"frequency_range":{"type":"generate","min_frequency":1E2,"max_frequency":1E6,)"
              R"("start_frequency":1E4,"points_per_decade_upper":20,"points_per_decade_lower":5,)"
              R"("pre_duration":1E-1,"pre_waves":1,"meas_duration":1E0,"meas_waves":5,"amplitude":1E-2}})");
    const auto& range = written.at("frequency_range");
    for (const char* count : {"points_per_decade_upper", "points_per_decade_lower", "pre_waves", "meas_waves"}) {
        EXPECT_TRUE(range.at(count).is_uint64()) << count;
    }
    EXPECT_TRUE(range.at("amplitude").is_double());

    auto withDrift = sampleGenerate();
    withDrift.drift_correction = DriftCorrection::DC_ONLY;
    EXPECT_EQ(keysOf(json::value_from(withDrift)),
              (std::vector<std::string>{"bias", "frequency_range", "drift_correction"}));
    EXPECT_EQ(json::value_from(withDrift).at("drift_correction"), "DC_ONLY");
}

struct CountCase {
    const char* count;
    std::uint64_t expected;
};

class EisCountRead : public ::testing::TestWithParam<CountCase> {};

TEST_P(EisCountRead, WholeNonNegativeNumbersAreAccepted)
{
    auto value = json::value_from(sampleGenerate());
    value.at("frequency_range").as_object()["points_per_decade_upper"] = json::parse(GetParam().count);
    EXPECT_EQ(json::value_to<EisParametersGenerate>(value).points_per_decade_upper, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, EisCountRead,
                         ::testing::Values(CountCase{"20", 20}, CountCase{"20.0", 20},
                                           CountCase{"18446744073709551615", 18446744073709551615u},
                                           CountCase{"18446744073709549568.0", 18446744073709549568u}));

TEST(EisParametersGenerateJson, InexactCountThrows)
{
    for (const char* count : {"20.5", "-1", "18446744073709551616.0", "1e300"}) {
        SCOPED_TRACE(count);
        auto value = json::value_from(sampleGenerate());
        value.at("frequency_range").as_object()["meas_waves"] = json::parse(count);
        expectJsonError([&] { json::value_to<EisParametersGenerate>(value); }, json::error::not_exact);
    }
}

TEST(EisParametersGenerateJson, CountGivenAsTextGivesDefaultRecord)
{
    auto value = json::value_from(sampleGenerate());
    value.at("frequency_range").as_object()["pre_waves"] = "1";
    EXPECT_EQ(json::value_to<EisParametersGenerate>(value), EisParametersGenerate{});
}

class EisTableFallback : public ::testing::TestWithParam<const char*> {};

TEST_P(EisTableFallback, GivesDefaultRecordWithoutError)
{
    EXPECT_EQ(json::value_to<EisParametersFrequencyTable>(json::parse(GetParam())), EisParametersFrequencyTable{});
}

INSTANTIATE_TEST_SUITE_P(
    Malformed, EisTableFallback,
    ::testing::Values(R"({"frequency_range":{"type":"table","spectrum":[]},"drift_correction":"FULL"})",
                      R"({"bias":"0.5","frequency_range":{"type":"table","spectrum":[]},"drift_correction":"FULL"})",
                      R"({"bias":0.5,"frequency_range":[],"drift_correction":"FULL"})",
                      R"({"bias":0.5,"frequency_range":{"type":"table"},"drift_correction":"FULL"})",
                      R"({"bias":0.5,"frequency_range":{"type":"table","spectrum":{}},"drift_correction":"FULL"})"));

TEST(EisParametersFrequencyTableJson, EmptySpectrumAndUnexaminedType)
{
    const auto empty =
        json::value_to<EisParametersFrequencyTable>(json::parse(R"({"bias":0.5,"frequency_range":{"spectrum":[]}})"));
    EXPECT_EQ(empty, (EisParametersFrequencyTable{.bias = 0.5}));

    const auto generateType = json::value_to<EisParametersFrequencyTable>(
        json::parse(R"({"bias":1,"frequency_range":{"type":"generate","spectrum":[]},"extra":true})"));
    EXPECT_EQ(generateType.bias, 1.0);
}

TEST(EisParametersFrequencyTableJson, SpectrumEntriesWrittenInFieldOrder)
{
    const EisParametersFrequencyTable table{.bias = 0.5, .spectrum = {entryA}};
    EXPECT_EQ(json::serialize(json::value_from(table)),
              R"({"bias":5E-1,"frequency_range":{"type":"table","spectrum":[{"frequency":1E3,"amplitude":1E-2,)"
              R"("pre_duration":5E-1,"pre_waves":2,"meas_duration":1.5E0,"meas_waves":10}]}})");
    EXPECT_EQ(json::serialize(json::value_from(EisParametersFrequencyTable{})),
              R"({"bias":0E0,"frequency_range":{"type":"table","spectrum":[]}})");
}

struct EntryCase {
    const char* secondEntry;
    json::error expected;
};

class SpectrumEntryRead : public ::testing::TestWithParam<EntryCase> {};

TEST_P(SpectrumEntryRead, MalformedEntryFailsTheWholeRead)
{
    const std::string text = std::string(R"({"bias":0,"frequency_range":{"spectrum":[)")
                             + R"({"frequency":1,"amplitude":1,"pre_duration":1,"pre_waves":1,"meas_duration":1,"meas_waves":1},)"
                             + GetParam().secondEntry + "]}}";
    expectJsonError([&] { json::value_to<EisParametersFrequencyTable>(json::parse(text)); }, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SpectrumEntryRead,
    ::testing::Values(
        EntryCase{R"({"frequency":1,"amplitude":1,"pre_duration":1,"pre_waves":1,"meas_duration":1})",
                  json::error::size_mismatch},
        EntryCase{R"([1,1,1,1,1,1])", json::error::not_object},
        EntryCase{R"({"frequency":1,"amplitude":"1","pre_duration":1,"pre_waves":1,"meas_duration":1,"meas_waves":1})",
                  json::error::not_number},
        EntryCase{R"({"frequency":1,"amplitude":1,"pre_duration":1,"pre_waves":1.5,"meas_duration":1,"meas_waves":1})",
                  json::error::not_exact}));

TEST(EisMultiSineTableJson, KeyOrderWithFlagBeforeDriftCorrection)
{
    const auto written = json::value_from(sample<EisMultiSineTable>());
    EXPECT_EQ(keysOf(written), (std::vector<std::string>{"bias", "frequency_range", "multisine_wave_in_result",
                                                         "drift_correction"}));
    EXPECT_EQ(keysOf(written.at("frequency_range")),
              (std::vector<std::string>{"type", "fundamental_frequency", "pre_duration", "pre_waves", "meas_duration",
                                        "meas_waves", "amplitude", "harmonics"}));
    EXPECT_EQ(json::serialize(written.at("frequency_range").at("harmonics")),
              R"([{"harmonic":1,"weight":1E0},{"harmonic":3,"weight":5E-1}])");
    EXPECT_EQ(written.at("multisine_wave_in_result"), false);
}

TEST(EisMultiSineTableJson, FlagIsReadOnlyFromABoolean)
{
    auto value = json::value_from(sample<EisMultiSineTable>());
    value.as_object()["multisine_wave_in_result"] = 1;
    EXPECT_EQ(json::value_to<EisMultiSineTable>(value).multisine_wave_in_result, std::nullopt);
    value.as_object()["multisine_wave_in_result"] = true;
    EXPECT_EQ(json::value_to<EisMultiSineTable>(value).multisine_wave_in_result, true);

    auto unset = sample<EisMultiSineTable>();
    unset.multisine_wave_in_result.reset();
    unset.drift_correction.reset();
    EXPECT_EQ(keysOf(json::value_from(unset)), (std::vector<std::string>{"bias", "frequency_range"}));
}

TEST(EisMultisineParametersGenerateJson, AmplitudeBeforeMeasDurationAndCountsInsideRange)
{
    const auto written = json::value_from(sample<EisMultisineParametersGenerate>());
    EXPECT_EQ(keysOf(written), (std::vector<std::string>{"bias", "frequency_range", "multisine_wave_in_result"}));
    EXPECT_EQ(keysOf(written.at("frequency_range")),
              (std::vector<std::string>{"type", "min_frequency", "max_frequency", "start_frequency",
                                        "points_per_decade_upper", "points_per_decade_lower", "pre_duration",
                                        "pre_waves", "amplitude", "meas_duration", "meas_waves", "multisine_pre_waves",
                                        "multisine_meas_waves", "multisine_decades", "multisine_starting_harmonic"}));

    // The multisine counts are not looked for at the top level.
    auto moved = written;
    moved.as_object()["multisine_decades"] = moved.at("frequency_range").at("multisine_decades");
    moved.at("frequency_range").as_object().erase("multisine_decades");
    EXPECT_EQ(json::value_to<EisMultisineParametersGenerate>(moved), EisMultisineParametersGenerate{});
}

TEST(GeisVaParametersJson, CurrentLimitsPrecedeFrequencyRange)
{
    const auto generate = json::value_from(sample<GeisVaParametersGenerate>());
    EXPECT_EQ(keysOf(generate), (std::vector<std::string>{"bias", "minimum_current_amplitude",
                                                          "maximum_current_amplitude", "frequency_range"}));
    EXPECT_EQ(keysOf(generate.at("frequency_range")),
              (std::vector<std::string>{"type", "min_frequency", "max_frequency", "start_frequency",
                                        "points_per_decade_upper", "points_per_decade_lower", "pre_duration",
                                        "pre_waves", "meas_duration", "meas_waves", "amplitude"}));

    EXPECT_EQ(json::serialize(json::value_from(sample<GeisVaParametersFrequencyTable>())),
              R"({"bias":2E-3,"minimum_current_amplitude":1E-7,"maximum_current_amplitude":5E-3,)"
              R"("frequency_range":{"type":"table","spectrum":[{"frequency":1E1,"amplitude":2E-2,"pre_duration":0E0,)"
              R"("pre_waves":0,"meas_duration":3E0,"meas_waves":3}]},"drift_correction":"OFF"})");
}

TEST(GeisVaParametersJson, MissingCurrentLimitGivesDefaultRecord)
{
    auto value = json::value_from(sample<GeisVaParametersGenerate>());
    value.as_object().erase("maximum_current_amplitude");
    EXPECT_EQ(json::value_to<GeisVaParametersGenerate>(value), GeisVaParametersGenerate{});

    auto table = json::value_from(sample<GeisVaParametersFrequencyTable>());
    table.as_object()["minimum_current_amplitude"] = nullptr;
    EXPECT_EQ(json::value_to<GeisVaParametersFrequencyTable>(table), GeisVaParametersFrequencyTable{});
}
