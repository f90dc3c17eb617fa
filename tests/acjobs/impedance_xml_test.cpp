#include "impedance_samples.hpp"
#include "support/decimal_comma_locale.hpp"
#include "xml_support.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace {

template <class P>
class ImpedanceXmlForm : public ::testing::Test {};

using ImpedanceRecords = ::testing::Types<EisParametersFrequencyTable, EisParametersGenerate, EisMultiSineTable,
                                          EisMultisineParametersGenerate, GeisVaParametersGenerate,
                                          GeisVaParametersFrequencyTable>;
TYPED_TEST_SUITE(ImpedanceXmlForm, ImpedanceRecords);

std::vector<std::string> withOptionals(std::vector<std::string> names, const std::vector<std::string>& optionals)
{
    names.insert(names.end() - 1, optionals.begin(), optionals.end());
    return names;
}

} // namespace

TYPED_TEST(ImpedanceXmlForm, WritesElementsInFormOrder)
{
    using Sample = ImpedanceSample<TypeParam>;
    tinyxml2::XMLDocument document;
    const auto* parameters = writeParameters(document, Sample::full());

    EXPECT_STREQ(parameters->Name(), "parameters");
    EXPECT_EQ(parameters->FirstAttribute(), nullptr);
    EXPECT_EQ(childNames(parameters), withOptionals(Sample::topLevel, Sample::optionals));
    const auto* range = parameters->FirstChildElement("frequency_range");
    ASSERT_NE(range, nullptr);
    EXPECT_STREQ(range->Attribute("type"), Sample::rangeType.c_str());
    EXPECT_EQ(childNames(range), Sample::range);
    for (const auto* entry = range->FirstChildElement("entry"); entry != nullptr;
         entry = entry->NextSiblingElement("entry")) {
        EXPECT_EQ(childNames(entry), Sample::entry);
    }
}

TYPED_TEST(ImpedanceXmlForm, RoundTripKeepsEveryValue)
{
    const auto record = ImpedanceSample<TypeParam>::full();
    EXPECT_EQ(roundTrip(record), record);
}

// A host may switch to a decimal-comma locale; the text stays that of the
// "C" locale and reads back whole.
TYPED_TEST(ImpedanceXmlForm, LocaleChangesNeitherTextNorValues)
{
    const auto record = ImpedanceSample<TypeParam>::full();
    const auto text = [&record] {
        tinyxml2::XMLDocument document;
        writeParameters(document, record);
        tinyxml2::XMLPrinter printer(nullptr, true);
        document.Print(&printer);
        return std::string(printer.CStr());
    };
    const std::string inTheCLocale = text();

    locale_test::DecimalCommaLocale decimalComma;
    if (!decimalComma.active()) {
        GTEST_SKIP() << locale_test::DecimalCommaLocale::MISSING;
    }
    EXPECT_EQ(text(), inTheCLocale);
    EXPECT_EQ(readParametersText<TypeParam>(inTheCLocale), record);
}

TYPED_TEST(ImpedanceXmlForm, UnsetOptionalsWriteNothingAndReadBackUnset)
{
    using Sample = ImpedanceSample<TypeParam>;
    auto record = Sample::full();
    Sample::clearOptionals(record);
    tinyxml2::XMLDocument document;
    auto* parameters = writeParameters(document, record);
    EXPECT_EQ(childNames(parameters), Sample::topLevel);
    EXPECT_EQ(readParameters<TypeParam>(parameters), record);
}

TYPED_TEST(ImpedanceXmlForm, EveryDriftCorrectionValueRoundTrips)
{
    const std::vector<std::pair<DriftCorrection, std::string>> cases{
        {DriftCorrection::FULL, "FULL"}, {DriftCorrection::DC_ONLY, "DC_ONLY"}, {DriftCorrection::OFF, "OFF"}};
    for (const auto& [value, text] : cases) {
        auto record = ImpedanceSample<TypeParam>::full();
        record.drift_correction = value;
        tinyxml2::XMLDocument document;
        auto* parameters = writeParameters(document, record);
        EXPECT_EQ(childText(parameters, "drift_correction"), text);
        EXPECT_EQ(readParameters<TypeParam>(parameters).drift_correction, value) << text;
    }
}

TYPED_TEST(ImpedanceXmlForm, DriftCorrectionOutsideTheEnumerationIsWrittenAsFull)
{
    auto record = ImpedanceSample<TypeParam>::full();
    record.drift_correction = static_cast<DriftCorrection>(7);
    tinyxml2::XMLDocument document;
    EXPECT_EQ(childText(writeParameters(document, record), "drift_correction"), "FULL");
}

TYPED_TEST(ImpedanceXmlForm, WithoutFrequencyRangeOnlyTopLevelValuesAreRead)
{
    using Sample = ImpedanceSample<TypeParam>;
    const auto record = Sample::full();
    tinyxml2::XMLDocument document;
    auto* parameters = writeParameters(document, record);
    parameters->DeleteChild(parameters->FirstChildElement("frequency_range"));
    EXPECT_EQ(readParameters<TypeParam>(parameters), Sample::topLevelOnly(record));
}

TYPED_TEST(ImpedanceXmlForm, EmptyParametersReadAsTheZeroRecord)
{
    EXPECT_EQ(readParametersText<TypeParam>("<parameters/>"), TypeParam{});
}

TEST(ImpedanceXmlText, DoublesCarrySeventeenSignificantDigits)
{
    EisParametersFrequencyTable record{.bias = 0.1};
    record.spectrum.push_back({.frequency = 1e-7, .amplitude = 200.0});
    tinyxml2::XMLDocument document;
    auto* parameters = writeParameters(document, record);
    EXPECT_EQ(childText(parameters, "bias"), "0.10000000000000001");
    const auto* entry = parameters->FirstChildElement("frequency_range")->FirstChildElement("entry");
    EXPECT_EQ(childText(entry, "frequency"), "9.9999999999999995e-08");
    EXPECT_EQ(childText(entry, "amplitude"), "200");
    EXPECT_EQ(readParameters<EisParametersFrequencyTable>(parameters), record);
}

TEST(ImpedanceXmlText, CountsAreUnsignedDecimal)
{
    EisParametersGenerate record{.points_per_decade_upper = MAX_COUNT, .pre_waves = 0, .meas_waves = 42};
    tinyxml2::XMLDocument document;
    const auto* range = writeParameters(document, record)->FirstChildElement("frequency_range");
    EXPECT_EQ(childText(range, "points_per_decade_upper"), "18446744073709551615");
    EXPECT_EQ(childText(range, "pre_waves"), "0");
    EXPECT_EQ(childText(range, "meas_waves"), "42");
}

TEST(ImpedanceXmlText, TableWithBiasOnlyHasTwoChildren)
{
    tinyxml2::XMLDocument document;
    const auto* parameters = writeParameters(document, EisParametersFrequencyTable{.bias = 0.5});
    EXPECT_EQ(childNames(parameters), (std::vector<std::string>{"bias", "frequency_range"}));
    EXPECT_EQ(childText(parameters, "bias"), "0.5");
    const auto* range = parameters->FirstChildElement("frequency_range");
    EXPECT_STREQ(range->Attribute("type"), "table");
    EXPECT_EQ(range->FirstChild(), nullptr);
    EXPECT_EQ(range->FirstAttribute()->Next(), nullptr);
}

TEST(ImpedanceXmlText, GalvanostaticLimitsPrecedeTheRangeWhateverTheirFieldPlace)
{
    GeisVaParametersGenerate record{.amplitude = 0.01, .minimum_current_amplitude = 1e-6,
                                    .maximum_current_amplitude = 1e-3, .drift_correction = DriftCorrection::OFF};
    tinyxml2::XMLDocument document;
    const auto* parameters = writeParameters(document, record);
    EXPECT_EQ(childNames(parameters),
              (std::vector<std::string>{"bias", "minimum_current_amplitude", "maximum_current_amplitude",
                                        "drift_correction", "frequency_range"}));
    EXPECT_EQ(childText(parameters->FirstChildElement("frequency_range"), "amplitude"), "0.01");
}

namespace {

struct DriftTextCase {
    std::string element;
    std::optional<DriftCorrection> expected;
};

class DriftCorrectionText : public ::testing::TestWithParam<DriftTextCase> {};

} // namespace

TEST_P(DriftCorrectionText, OnlyExactNamesAreRead)
{
    const auto record =
        readParametersText<EisParametersGenerate>("<parameters><bias>1</bias>" + GetParam().element + "</parameters>");
    EXPECT_EQ(record.drift_correction, GetParam().expected);
    EXPECT_EQ(record.bias, 1.0);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, DriftCorrectionText,
    ::testing::Values(DriftTextCase{"<drift_correction>FULL</drift_correction>", DriftCorrection::FULL},
                      DriftTextCase{"<drift_correction>DC_ONLY</drift_correction>", DriftCorrection::DC_ONLY},
                      DriftTextCase{"<drift_correction>OFF</drift_correction>", DriftCorrection::OFF},
                      DriftTextCase{"<drift_correction>off</drift_correction>", std::nullopt},
                      DriftTextCase{"<drift_correction>Full</drift_correction>", std::nullopt},
                      DriftTextCase{"<drift_correction>2</drift_correction>", std::nullopt},
                      DriftTextCase{"<drift_correction> OFF</drift_correction>", std::nullopt},
                      DriftTextCase{"<drift_correction/>", std::nullopt},
                      DriftTextCase{"", std::nullopt},
                      DriftTextCase{"<frequency_range><drift_correction>OFF</drift_correction></frequency_range>",
                                    std::nullopt}));

namespace {

struct FlagTextCase {
    std::string text;
    std::optional<bool> expected;
};

class MultisineFlagText : public ::testing::TestWithParam<FlagTextCase> {};

} // namespace

TEST_P(MultisineFlagText, ReadByTheXmlLibrarysBooleanRule)
{
    const std::string xml =
        "<parameters><multisine_wave_in_result>" + GetParam().text + "</multisine_wave_in_result></parameters>";
    EXPECT_EQ(readParametersText<EisMultiSineTable>(xml).multisine_wave_in_result, GetParam().expected);
    EXPECT_EQ(readParametersText<EisMultisineParametersGenerate>(xml).multisine_wave_in_result, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Texts, MultisineFlagText,
                         ::testing::Values(FlagTextCase{"1", true}, FlagTextCase{"0", false},
                                           FlagTextCase{"-3", true}, FlagTextCase{"true", true},
                                           FlagTextCase{"TRUE", true}, FlagTextCase{"False", false},
                                           FlagTextCase{"yes", std::nullopt}, FlagTextCase{"", std::nullopt}));

namespace {

struct CountTextCase {
    std::string text;
    std::uint64_t expected;
};

class CountText : public ::testing::TestWithParam<CountTextCase> {};

} // namespace

TEST_P(CountText, ReadAsUnsignedOrZero)
{
    const std::string xml = "<parameters><frequency_range><meas_waves>" + GetParam().text +
                            "</meas_waves><entry><harmonic>" + GetParam().text +
                            "</harmonic></entry></frequency_range></parameters>";
    const auto record = readParametersText<EisMultiSineTable>(xml);
    EXPECT_EQ(record.meas_waves, GetParam().expected);
    ASSERT_EQ(record.harmonics.size(), 1U);
    EXPECT_EQ(record.harmonics[0].harmonic, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Texts, CountText,
                         ::testing::Values(CountTextCase{"7", 7}, CountTextCase{"0x1F", 31},
                                           CountTextCase{"18446744073709551615", MAX_COUNT},
                                           CountTextCase{"-1", 0}, CountTextCase{" -2", 0},
                                           CountTextCase{"many", 0}, CountTextCase{"", 0}));

namespace {

struct DoubleTextCase {
    std::string text;
    double expected;
};

class DoubleText : public ::testing::TestWithParam<DoubleTextCase> {};

} // namespace

TEST_P(DoubleText, ReadAsDoubleOrZero)
{
    const auto record = readParametersText<GeisVaParametersFrequencyTable>(
        "<parameters><maximum_current_amplitude>" + GetParam().text + "</maximum_current_amplitude></parameters>");
    EXPECT_EQ(record.maximum_current_amplitude, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Texts, DoubleText,
                         ::testing::Values(DoubleTextCase{"0.5", 0.5}, DoubleTextCase{"-1e-3", -1e-3},
                                           DoubleTextCase{"0.10000000000000001", 0.1}, DoubleTextCase{"12", 12.0},
                                           DoubleTextCase{"abc", 0.0}, DoubleTextCase{"", 0.0}));

TEST(ImpedanceXmlRead, SpectrumEntryChildrenAreFoundByNameInAnyOrder)
{
    const auto record = readParametersText<EisParametersFrequencyTable>(
        "<parameters><frequency_range type='table'>"
        "<entry><pre_duration>0.5</pre_duration><meas_waves>10</meas_waves><frequency>1000</frequency>"
        "<pre_waves>2</pre_waves><amplitude>0.01</amplitude><meas_duration>1.5</meas_duration></entry>"
        "<entry/>"
        "<entry><frequency>10</frequency><unknown>3</unknown></entry>"
        "</frequency_range></parameters>");
    ASSERT_EQ(record.spectrum.size(), 3U);
    EXPECT_EQ(record.spectrum[0], (EisParametersFrequencyTableEntry{1000.0, 0.01, 0.5, 2, 1.5, 10}));
    EXPECT_EQ(record.spectrum[1], EisParametersFrequencyTableEntry{});
    EXPECT_EQ(record.spectrum[2], (EisParametersFrequencyTableEntry{.frequency = 10.0}));
}

TEST(ImpedanceXmlRead, EntriesKeepDocumentOrderAmongOtherChildren)
{
    const auto record = readParametersText<EisMultiSineTable>(
        "<parameters><frequency_range>"
        "<entry><harmonic>5</harmonic></entry><amplitude>0.2</amplitude>"
        "<entry><harmonic>1</harmonic><weight>0.25</weight></entry>"
        "<point><harmonic>9</harmonic></point>"
        "</frequency_range></parameters>");
    EXPECT_EQ(record.amplitude, 0.2);
    EXPECT_EQ(record.harmonics, (std::vector<EisMultiSineTableEntry>{{5, 0.0}, {1, 0.25}}));
}

TEST(ImpedanceXmlRead, RangeTypeAttributeIsNotExamined)
{
    const auto table = readParametersText<EisParametersFrequencyTable>(
        "<parameters><bias>0.5</bias><frequency_range type='generate'>"
        "<min_frequency>1</min_frequency><max_frequency>100</max_frequency>"
        "</frequency_range></parameters>");
    EXPECT_EQ(table, (EisParametersFrequencyTable{.bias = 0.5}));

    const auto generated = readParametersText<EisParametersGenerate>(
        "<parameters><frequency_range type='table'><min_frequency>1</min_frequency>"
        "<entry><frequency>10</frequency></entry></frequency_range></parameters>");
    EXPECT_EQ(generated, (EisParametersGenerate{.min_frequency = 1.0}));
}

TEST(ImpedanceXmlRead, MultisineCountsAreReadOnlyInsideTheRange)
{
    const auto record = readParametersText<EisMultisineParametersGenerate>(
        "<parameters><multisine_decades>3</multisine_decades><multisine_pre_waves>4</multisine_pre_waves>"
        "<frequency_range><multisine_meas_waves>5</multisine_meas_waves></frequency_range></parameters>");
    EXPECT_EQ(record.multisine_decades, 0U);
    EXPECT_EQ(record.multisine_pre_waves, 0U);
    EXPECT_EQ(record.multisine_meas_waves, 5U);
}

TEST(ImpedanceXmlRead, TopLevelValuesAreNotTakenFromInsideTheRange)
{
    const auto record = readParametersText<GeisVaParametersGenerate>(
        "<parameters><frequency_range><bias>1</bias><minimum_current_amplitude>2</minimum_current_amplitude>"
        "<amplitude>0.5</amplitude></frequency_range></parameters>");
    EXPECT_EQ(record, (GeisVaParametersGenerate{.amplitude = 0.5}));
}

TEST(ImpedanceXmlRead, FirstOfRepeatedElementsWins)
{
    const auto record = readParametersText<GeisVaParametersFrequencyTable>(
        "<parameters><bias>1</bias><bias>2</bias><drift_correction>OFF</drift_correction>"
        "<drift_correction>FULL</drift_correction><frequency_range><entry/></frequency_range>"
        "<frequency_range><entry/><entry/></frequency_range></parameters>");
    EXPECT_EQ(record.bias, 1.0);
    EXPECT_EQ(record.drift_correction, DriftCorrection::OFF);
    EXPECT_EQ(record.spectrum.size(), 1U);
}

TEST(ImpedanceXmlRead, MissingCurrentLimitAloneStaysZero)
{
    auto record = ImpedanceSample<GeisVaParametersFrequencyTable>::full();
    tinyxml2::XMLDocument document;
    auto* parameters = writeParameters(document, record);
    parameters->DeleteChild(parameters->FirstChildElement("minimum_current_amplitude"));
    record.minimum_current_amplitude = 0.0;
    EXPECT_EQ(readParameters<GeisVaParametersFrequencyTable>(parameters), record);
}

TEST(ImpedanceXmlRead, NonFiniteDoublesSurviveTheirText)
{
    EisParametersGenerate record{.bias = -std::numeric_limits<double>::infinity(),
                                 .min_frequency = std::numeric_limits<double>::infinity(),
                                 .max_frequency = std::numeric_limits<double>::quiet_NaN()};
    const auto read = roundTrip(record);
    EXPECT_EQ(read.bias, record.bias);
    EXPECT_EQ(read.min_frequency, record.min_frequency);
    EXPECT_TRUE(std::isnan(read.max_frequency));
}

namespace {

template <class P>
std::string writtenText(const P& record)
{
    tinyxml2::XMLDocument document;
    writeParameters(document, record);
    tinyxml2::XMLPrinter printer(nullptr, true);
    document.Print(&printer);
    return printer.CStr();
}

} // namespace

TEST(ImpedanceXmlWrite, NaNWithItsSignBitIsWrittenWithoutSign)
{
    const double negativeNaN = -std::numeric_limits<double>::quiet_NaN();
    ASSERT_TRUE(std::signbit(negativeNaN));
    const std::string eis = writtenText(EisParametersGenerate{.bias = negativeNaN});
    const std::string geis =
        writtenText(GeisVaParametersFrequencyTable{.bias = negativeNaN, .minimum_current_amplitude = negativeNaN});
    for (const std::string& text : {eis, geis}) {
        EXPECT_NE(text.find("<bias>nan</bias>"), std::string::npos) << text;
        EXPECT_EQ(text.find("-nan"), std::string::npos) << text;
    }
    EXPECT_NE(geis.find("<minimum_current_amplitude>nan</minimum_current_amplitude>"), std::string::npos) << geis;
}
