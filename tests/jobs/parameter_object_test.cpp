#include "test_records.hpp"

#include "support/xml_print.hpp"

#include "marlek_link_json/jobs/job_names.hpp"
#include "marlek_link_json/jobs/parameter_object_json.hpp"

#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <cmath>
#include <limits>

namespace {

using Wrapped = SerializableParameterStruct<TestSweepParameters>;

tinyxml2::XMLElement* parse(tinyxml2::XMLDocument& document, const char* text)
{
    EXPECT_EQ(document.Parse(text), tinyxml2::XML_SUCCESS) << text;
    return document.RootElement();
}

const TestSweepParameters& recordOf(const std::shared_ptr<MeasurementParameters>& parameters)
{
    const auto* wrapped = dynamic_cast<const Wrapped*>(parameters.get());
    EXPECT_NE(wrapped, nullptr);
    return *wrapped;
}

} // namespace

TEST(DoubleToString, ShortestRoundTripTextPlainOnTie)
{
    struct Case {
        double value;
        const char* text;
    };
    for (const auto& c : {Case{1.0, "1"}, Case{0.1, "0.1"}, Case{10000.0, "10000"}, Case{100000.0, "1e+05"},
                          Case{1e20, "1e+20"}, Case{0.0001, "1e-04"}, Case{0.001, "0.001"}, Case{200.0, "200"},
                          Case{1e-7, "1e-07"}, Case{3.0, "3"}, Case{-2.5, "-2.5"}, Case{0.0, "0"}}) {
        EXPECT_EQ(doubleToString(c.value), c.text) << c.text;
    }
    for (const double value : {0.1 + 0.2, 1.0 / 3.0, 6.02214076e23, std::numeric_limits<double>::denorm_min(),
                               std::numeric_limits<double>::max()}) {
        EXPECT_EQ(std::strtod(doubleToString(value).c_str(), nullptr), value);
    }
}

TEST(JobNames, WireNames)
{
    EXPECT_EQ(JobNames::CV_JOB_NAME, "cv");
    EXPECT_EQ(JobNames::EIS_TABLE_JOB_NAME, "eis_table");
    EXPECT_EQ(JobNames::GET_DATETIME_NAME, "get_date_time");
    EXPECT_EQ(JobNames::STEADYSTAIRS_JOB_NAME, "steady_stairs");
    EXPECT_EQ(JobNames::EIS_MULTISINE_GENERATE_JOB_NAME, "eis_multisine");

    const std::string_view emoji = "\xF0\x9F\x9B\xA0\xEF\xB8\x8F";
    const auto name = JobNames::GET_CALIBRATION_DATA_JOB_NAME;
    EXPECT_EQ(name.size(), 28u);
    EXPECT_EQ(name.substr(0, 7), emoji);
    EXPECT_EQ(name.substr(7), "/get_calibration_data");
    for (const auto service : {JobNames::SET_CALIBRATION_DATA_JOB_NAME, JobNames::GET_MESH_JSON_FILE_JOB_NAME,
                               JobNames::SET_MESH_JSON_FILE_JOB_NAME, JobNames::GET_FILTER_USAGE_MATRIX_JOB_NAME}) {
        EXPECT_EQ(service.substr(0, 8), std::string(emoji) + "/");
    }
}

TEST(SerializableParameterStruct, WritesOneChildPerMemberInOrderDetached)
{
    tinyxml2::XMLDocument document;
    const Wrapped parameters(TestSweepParameters{100000.0, true, 7, "res 1", TestMode::FAST});
    MXml::XmlSerializer serializer{&document, nullptr};
    parameters.acceptSerializer(serializer);
    ASSERT_NE(serializer.element, nullptr);
    EXPECT_EQ(document.FirstChild(), nullptr);
    EXPECT_EQ(print(*serializer.element),
              "<parameters><start_value>1e+05</start_value><autorange>true</autorange>"
              "<repetitions>7</repetitions><resource_id>res 1</resource_id><mode>FAST</mode></parameters>");
}

TEST(SerializableParameterStruct, XmlRoundTripKeepsEveryFiniteValue)
{
    for (const double value : {0.1, -1e-300, 1.0 / 3.0, 123456789.125, 0.0}) {
        tinyxml2::XMLDocument document;
        const TestSweepParameters record{value, false, 0, "", TestMode::SLOW};
        MXml::XmlSerializer serializer{&document, nullptr};
        Wrapped(record).acceptSerializer(serializer);
        EXPECT_EQ(recordOf(Wrapped::fromXmlElement(serializer.element)), record) << value;
    }
}

struct XmlReadCase {
    const char* what;
    const char* xml;
    TestSweepParameters expected;
};

class ParameterXmlReading : public testing::TestWithParam<XmlReadCase> {};

TEST_P(ParameterXmlReading, IsLenient)
{
    tinyxml2::XMLDocument document;
    EXPECT_EQ(recordOf(Wrapped::fromXmlElement(parse(document, GetParam().xml))), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Elements, ParameterXmlReading,
    testing::Values(
        XmlReadCase{"empty", "<parameters/>", {0.0, false, 1, "", TestMode::SLOW}},
        XmlReadCase{"unreadable_texts_keep_initial_values_but_unsigned_becomes_0",
                    "<parameters><start_value>abc</start_value><autorange>maybe</autorange>"
                    "<repetitions>x</repetitions><mode>MEDIUM</mode></parameters>",
                    {0.0, false, 0, "", TestMode::SLOW}},
        XmlReadCase{"first_child_of_a_name_counts",
                    "<parameters><start_value>2</start_value><start_value>3</start_value>"
                    "<autorange>1</autorange><resource_id/><other>9</other></parameters>",
                    {2.0, true, 1, "", TestMode::SLOW}},
        XmlReadCase{"bool_words", "<parameters><autorange>TRUE</autorange><mode>FAST</mode></parameters>",
                    {0.0, true, 1, "", TestMode::FAST}}),
    [](const auto& info) { return std::string(info.param.what); });

TEST(SerializableParameterStruct, NullElementGivesNoObject)
{
    EXPECT_EQ(Wrapped::fromXmlElement(nullptr), nullptr);
}
