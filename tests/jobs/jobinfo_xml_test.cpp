#include "support/decimal_comma_locale.hpp"
#include "test_records.hpp"

#include "support/xml_children.hpp"
#include "support/xml_print.hpp"

#include "marlek_link_json/jobs/common/jobinfo_json.hpp"
#include "marlek_link_json/jobs/common/jobinfo_xml.hpp"
#include "marlek_link_json/jobs/common/stopconditions.hpp"

#include <boost/json.hpp>
#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <limits>

namespace {

JobInfo sampleInfo()
{
    registerTestJobKind();
    StopConditionVector conditions{
        std::make_shared<MinLimitStopCondition>(MinLimitStopConditionParameters{"voltage", -0.5}),
        nullptr,
        std::make_shared<InRangeStopCondition>(InRangeStopConditionParameters{"current", 0.1, 0.2}),
    };
    return JobInfo("id-7", JobStatusEnum::FAILED, JobStatusDetailEnum::SAFETY_LIMIT_OCCURRED, "2024-01-01", "s", "e",
                   {{"sample", "Fe"}, {"operator", "me"}},
                   ErrorObject(ErrorCodeEnum::PARAMETER_VALUE_TOO_HIGH, "{0} {1} {2} {3} {4}", true, 0.1,
                               static_cast<std::int64_t>(-3), static_cast<std::uint64_t>(18446744073709551615ull),
                               "text"),
                   std::string(TEST_JOB_NAME),
                   std::make_shared<SerializableParameterStruct<TestSweepParameters>>(
                       TestSweepParameters{1e-7, true, 4, "w", TestMode::FAST}),
                   std::move(conditions), JobOptions{true, true});
}

// Parses `body` as the children of one element and returns that element.
tinyxml2::XMLElement* element(tinyxml2::XMLDocument& document, const std::string& name, const std::string& body)
{
    const std::string text = "<" + name + ">" + body + "</" + name + ">";
    EXPECT_EQ(document.Parse(text.c_str()), tinyxml2::XML_SUCCESS) << text;
    return document.RootElement();
}

} // namespace

TEST(JobInfoXml, WritesChildrenInOrder)
{
    tinyxml2::XMLDocument document;
    auto* parent = document.NewElement("dataset");
    document.InsertEndChild(parent);
    MXml::appendJobinfoElement(sampleInfo(), parent);
    const auto* jobInfo = parent->FirstChildElement("job-info");
    ASSERT_NE(jobInfo, nullptr);
    EXPECT_EQ(childNames(jobInfo),
              (std::vector<std::string>{"job-id", "status", "status-detail", "created", "started", "ended", "type",
                                        "parameters", "stop-conditions", "meta", "options", "message",
                                        "last-error"}));
    EXPECT_STREQ(jobInfo->FirstChildElement("status")->GetText(), "FAILED");
    EXPECT_STREQ(jobInfo->FirstChildElement("status-detail")->GetText(), "SAFETY_LIMIT_OCCURRED");
    EXPECT_EQ(print(*jobInfo->FirstChildElement("meta")),
              R"(<meta><entry name="operator" value="me"/><entry name="sample" value="Fe"/></meta>)");
    EXPECT_EQ(print(*jobInfo->FirstChildElement("options")),
              R"(<options><option name="bypass_queue" value="true"/>)"
              R"(<option name="discard_result_data" value="true"/></options>)");
    EXPECT_STREQ(jobInfo->FirstChildElement("message")->GetText(), "true 0.1 -3 18446744073709551615 text");
    EXPECT_EQ(childNames(jobInfo->FirstChildElement("stop-conditions")),
              (std::vector<std::string>{"stop-condition", "stop-condition"}))
        << "the empty entry is skipped";
    EXPECT_EQ(print(*jobInfo->FirstChildElement("parameters")),
              "<parameters><start_value>1e-07</start_value><autorange>true</autorange><repetitions>4</repetitions>"
              "<resource_id>w</resource_id><mode>FAST</mode></parameters>");
}

TEST(JobInfoXml, LastErrorForm)
{
    tinyxml2::XMLDocument document;
    auto* parent = document.NewElement("x");
    appendErrorElement(sampleInfo().error, parent);
    EXPECT_EQ(print(*parent->FirstChildElement("last-error")),
              "<last-error><number>16388</number><code>PARAMETER_VALUE_TOO_HIGH</code>"
              "<message>{0} {1} {2} {3} {4}</message><message-parameters>"
              R"(<parameter type="bool">true</parameter>)"
              R"(<parameter type="double">0.10000000000000001</parameter>)"
              R"(<parameter type="int">-3</parameter>)"
              R"(<parameter type="uint">18446744073709551615</parameter>)"
              R"(<parameter type="string">text</parameter>)"
              "</message-parameters></last-error>");
}

TEST(JobInfoXml, MinimalInfoWritesNoParametersAndNoOptions)
{
    tinyxml2::XMLDocument document;
    auto* parent = document.NewElement("dataset");
    MXml::appendJobinfoElement(JobInfo(), parent);
    EXPECT_EQ(childNames(parent->FirstChildElement("job-info")),
              (std::vector<std::string>{"job-id", "status", "status-detail", "created", "started", "ended", "type",
                                        "stop-conditions", "meta", "message", "last-error"}));
    EXPECT_STREQ(parent->FirstChildElement("job-info")->FirstChildElement("message")->GetText(), "no error occoured");
}

TEST(JobInfoXml, BadFormatStringFromTheWorkstationStillWritesTheFile)
{
    JobInfo info;
    info.error = ErrorObject(ErrorCodeEnum::CALIBRATION_ERROR, "broken {0:q} {7}", 1.5);
    tinyxml2::XMLDocument document;
    auto* parent = document.NewElement("dataset");
    ASSERT_NO_THROW(MXml::appendJobinfoElement(info, parent));
    const auto* jobInfo = parent->FirstChildElement("job-info");
    EXPECT_STREQ(jobInfo->FirstChildElement("message")->GetText(), "broken {0:q} {7}");
    EXPECT_STREQ(jobInfo->FirstChildElement("last-error")->FirstChildElement("message")->GetText(),
                 "broken {0:q} {7}");
}

TEST(JobInfoXml, RoundTripKeepsEverything)
{
    const auto original = sampleInfo();
    tinyxml2::XMLDocument document;
    auto* parent = document.NewElement("dataset");
    document.InsertEndChild(parent);
    MXml::appendJobinfoElement(original, parent);

    // Through text, as a file would go.
    tinyxml2::XMLPrinter printer;
    document.Print(&printer);
    tinyxml2::XMLDocument reread;
    ASSERT_EQ(reread.Parse(printer.CStr()), tinyxml2::XML_SUCCESS);
    const auto info = MXml::jobInfoFromElement(reread.RootElement()->FirstChildElement("job-info"));

    EXPECT_EQ(info.jobId, original.jobId);
    EXPECT_EQ(info.status, original.status);
    EXPECT_EQ(info.statusDetail, original.statusDetail);
    EXPECT_EQ(info.created, original.created);
    EXPECT_EQ(info.started, original.started);
    EXPECT_EQ(info.ended, original.ended);
    EXPECT_EQ(info.type, original.type);
    EXPECT_EQ(info.jobMeta, original.jobMeta);
    EXPECT_EQ(info.options, original.options);
    EXPECT_EQ(info.error, original.error);
    const auto* parameters =
        dynamic_cast<const SerializableParameterStruct<TestSweepParameters>*>(info.parameters.get());
    ASSERT_NE(parameters, nullptr);
    EXPECT_EQ(parameters->getRecord(), (TestSweepParameters{1e-7, true, 4, "w", TestMode::FAST}));
    ASSERT_EQ(info.stopConditions.size(), 2u);
    EXPECT_EQ(info.stopConditions[0]->getType(), "min");
    EXPECT_EQ(info.stopConditions[0]->getParameterObject(), original.stopConditions[0]->getParameterObject());
    EXPECT_EQ(info.stopConditions[1]->getType(), "in_range");
    EXPECT_EQ(info.stopConditions[1]->getParameterObject(), original.stopConditions[2]->getParameterObject());
}

// Parameters, stop conditions and error parameters keep the text of the "C"
// locale, and read back, when a host has switched to a decimal comma.
TEST(JobInfoXml, LocaleChangesNeitherTextNorValues)
{
    const auto original = sampleInfo();
    const auto text = [&original] {
        tinyxml2::XMLDocument document;
        auto* parent = document.NewElement("dataset");
        document.InsertEndChild(parent);
        MXml::appendJobinfoElement(original, parent);
        return print(document);
    };
    const std::string inTheCLocale = text();

    locale_test::DecimalCommaLocale decimalComma;
    if (!decimalComma.active()) {
        GTEST_SKIP() << locale_test::DecimalCommaLocale::MISSING;
    }
    EXPECT_EQ(text(), inTheCLocale);
    tinyxml2::XMLDocument reread;
    ASSERT_EQ(reread.Parse(inTheCLocale.c_str()), tinyxml2::XML_SUCCESS);
    const auto info = MXml::jobInfoFromElement(reread.RootElement()->FirstChildElement("job-info"));
    EXPECT_EQ(info.error, original.error);
    const auto* parameters =
        dynamic_cast<const SerializableParameterStruct<TestSweepParameters>*>(info.parameters.get());
    ASSERT_NE(parameters, nullptr);
    EXPECT_EQ(parameters->getRecord(), (TestSweepParameters{1e-7, true, 4, "w", TestMode::FAST}));
    ASSERT_EQ(info.stopConditions.size(), 2u);
    EXPECT_EQ(info.stopConditions[0]->getParameterObject(), original.stopConditions[0]->getParameterObject());
    EXPECT_EQ(info.stopConditions[1]->getParameterObject(), original.stopConditions[2]->getParameterObject());
}

struct ErrorReadCase {
    const char* what;
    const char* body;
    ErrorObject expected;
};

class ErrorElementReading : public testing::TestWithParam<ErrorReadCase> {};

TEST_P(ErrorElementReading, FallsBackWithoutRaising)
{
    tinyxml2::XMLDocument document;
    EXPECT_EQ(readErrorElement(element(document, "last-error", GetParam().body)), GetParam().expected);
}

const ErrorObject unknownError(ErrorCodeEnum::UNKNOWN_ERR, "an unknown error occured");

INSTANTIATE_TEST_SUITE_P(
    Forms, ErrorElementReading,
    testing::Values(
        ErrorReadCase{"no_code", "<number>0</number><message>m</message>", unknownError},
        ErrorReadCase{"code_without_text", "<number>0</number><code/><message>m</message>",
                      ErrorObject(ErrorCodeEnum::UNKNOWN_ERR, "m")},
        ErrorReadCase{"only_the_name_counts", "<number>4660</number><code>UNKNOWN_ERR</code><message>m</message>",
                      ErrorObject(ErrorCodeEnum::UNKNOWN_ERR, "m")},
        ErrorReadCase{"name_wins_over_number", "<number>0</number><code>QUEUE_FULL</code>",
                      ErrorObject(ErrorCodeEnum::QUEUE_FULL, "")},
        ErrorReadCase{"lower_case_name", "<code>queue_full</code><message>m</message>",
                      ErrorObject(ErrorCodeEnum::UNKNOWN_ERR, "m")},
        ErrorReadCase{"unreadable_parameters_skipped",
                      "<code>NONE</code><message>{0}</message><message-parameters>"
                      R"(<parameter type="uint">18446744073709551615</parameter>)"
                      R"(<parameter type="double">abc</parameter>)"
                      R"(<parameter type="uint">-1</parameter>)"
                      R"(<parameter type="uint">18446744073709551616</parameter>)"
                      R"(<parameter type="int">12x</parameter>)"
                      R"(<parameter>5</parameter>)"
                      R"(<parameter type="float">5</parameter>)"
                      R"(<parameter type="bool">maybe</parameter>)"
                      R"(<parameter type="bool">TRUE</parameter>)"
                      R"(<parameter type="bool">0</parameter>)"
                      R"(<parameter type="int">-9223372036854775808</parameter>)"
                      R"(<parameter type="string">s</parameter>)"
                      "</message-parameters>",
                      ErrorObject(ErrorCodeEnum::NONE, "{0}",
                                  std::vector<ErrorParameter>{
                                      ErrorParameter(std::in_place_index<3>, 18446744073709551615ul),
                                      ErrorParameter(std::in_place_index<0>, true),
                                      ErrorParameter(std::in_place_index<0>, false),
                                      ErrorParameter(std::in_place_index<2>, std::numeric_limits<long long>::min()),
                                      ErrorParameter(std::in_place_index<4>, "s")})}),
    [](const auto& info) { return std::string(info.param.what); });

// An empty string is written as an element without text; it keeps its place,
// so that every later parameter stays on its own placeholder.
TEST(JobInfoXml, EmptyStringParameterKeepsItsPlace)
{
    const ErrorObject original(ErrorCodeEnum::PARAMETER_VALUE_TOO_HIGH, "{0}: {1} > {2}", "", 1.5,
                               static_cast<std::int64_t>(7));
    tinyxml2::XMLDocument written;
    auto* parent = written.NewElement("job-info");
    written.InsertEndChild(parent);
    appendErrorElement(original, parent);
    tinyxml2::XMLDocument reread;
    ASSERT_EQ(reread.Parse(print(written).c_str()), tinyxml2::XML_SUCCESS);
    EXPECT_EQ(readErrorElement(reread.RootElement()->FirstChildElement("last-error")), original);

    for (const char* empty : {R"(<parameter type="string"/>)", R"(<parameter type="string"></parameter>)"}) {
        tinyxml2::XMLDocument document;
        const std::string body = std::string("<code>NONE</code><message>{0}{1}</message><message-parameters>") + empty
                                 + R"(<parameter type="int">7</parameter></message-parameters>)";
        EXPECT_EQ(readErrorElement(element(document, "last-error", body)),
                  ErrorObject(ErrorCodeEnum::NONE, "{0}{1}",
                              std::vector<ErrorParameter>{ErrorParameter(std::in_place_index<4>, ""),
                                                          ErrorParameter(std::in_place_index<2>, 7LL)}))
            << empty;
    }
}

TEST(JobInfoXml, MissingLastErrorReadsAsUnknownError)
{
    tinyxml2::XMLDocument document;
    const auto info = MXml::jobInfoFromElement(element(document, "job-info", "<job-id>a</job-id>"));
    EXPECT_EQ(info.jobId, "a");
    EXPECT_EQ(info.error, unknownError);
    EXPECT_EQ(info.status, JobStatusEnum::UNKNOWN);
    EXPECT_EQ(info.statusDetail, JobStatusDetailEnum::FAILED_TO_CREATE);
}

TEST(JobInfoXml, ParametersNeedTypeRegistrationAndChildren)
{
    registerTestJobKind();
    struct Case {
        const char* what;
        const char* body;
        bool expectParameters;
    };
    for (const auto& c : {
             Case{"registered", "<type>test_sweep</type><parameters><start_value>1</start_value></parameters>", true},
             Case{"empty element", "<type>test_sweep</type><parameters/>", false},
             Case{"no type", "<parameters><start_value>1</start_value></parameters>", false},
             Case{"unregistered", "<type>reboot</type><parameters><x>1</x></parameters>", false},
         }) {
        tinyxml2::XMLDocument document;
        const auto info = MXml::jobInfoFromElement(element(document, "job-info", c.body));
        EXPECT_EQ(info.parameters != nullptr, c.expectParameters) << c.what;
    }
}

TEST(JobInfoXml, MetaEntriesNeedNameAndValueLaterWins)
{
    tinyxml2::XMLDocument document;
    const auto info = MXml::jobInfoFromElement(element(document, "job-info",
                                                       R"(<meta><entry name="a" value="1"/><entry name="b"/>)"
                                                       R"(<entry value="x"/><entry name="a" value="2"/></meta>)"));
    EXPECT_EQ(info.jobMeta, (std::map<std::string, std::string>{{"a", "2"}}));
}

TEST(JobInfoXml, OptionsReading)
{
    struct Case {
        const char* body;
        JobOptions expected;
    };
    for (const auto& c : {
             Case{"", JobOptions{}},
             Case{R"(<option name="bypass_queue" value="true"/>)", JobOptions{true, false}},
             Case{R"(<option name="discard_result_data" value="1"/><option name="unknown" value="true"/>)",
                  JobOptions{false, true}},
             Case{R"(<option name="bypass_queue" value="true"/><option name="bypass_queue" value="false"/>)",
                  JobOptions{}},
             Case{R"(<option name="bypass_queue" value="yes"/><option value="true"/>)", JobOptions{}},
         }) {
        tinyxml2::XMLDocument document;
        EXPECT_EQ(readJobOptionsElement(element(document, "options", c.body)), c.expected) << c.body;
    }
}

TEST(JobInfoXml, StopConditionsReadingSkipsWhatItCannotUse)
{
    tinyxml2::XMLDocument document;
    const auto conditions = readStopConditionsElement(element(
        document, "stop-conditions",
        "<stop-condition><type>max</type><parameters><maximum>2</maximum></parameters></stop-condition>"
        "<stop-condition><type>max</type></stop-condition>"
        "<stop-condition><parameters/></stop-condition>"
        "<stop-condition><type/><parameters/></stop-condition>"
        "<stop-condition><type>Max</type><parameters/></stop-condition>"
        "<other><type>min</type><parameters/></other>"
        "<stop-condition><type>min</type><parameters/></stop-condition>"));
    ASSERT_EQ(conditions.size(), 2u);
    EXPECT_EQ(conditions[0]->getType(), "max");
    EXPECT_EQ(conditions[0]->getParameterObject(), boost::json::parse(R"({"for_dimension": "", "maximum": 2.0})"));
    EXPECT_EQ(conditions[1]->getType(), "min");
}
