// What sets the wave and wave_file records apart from the other DC records:
// defaults, the wave list's JSON array and its XML text, and the readers'
// fallbacks.

#include "dc_test_support.hpp"

#include "marlek_json_common/json_common/json/strict_reader.hpp"

#include <cmath>
#include <cstdint>
#include <limits>

namespace {

std::string printed(const tinyxml2::XMLElement* element)
{
    tinyxml2::XMLPrinter printer(nullptr, true);
    element->Accept(&printer);
    return printer.CStr();
}

const tinyxml2::XMLElement* valueElement(tinyxml2::XMLDocument& document, const WaveParameters& record)
{
    const auto* element = writeParameters(document, record);
    const auto* value = element->FirstChildElement("value");
    EXPECT_NE(value, nullptr);
    EXPECT_EQ(value, element->LastChildElement());
    return value;
}

} // namespace

TEST(WaveRecords, DefaultsStillWriteEveryKey)
{
    EXPECT_EQ(WaveParameters{}.repetitions, 1u);
    EXPECT_EQ(WaveParameters{}.bias, 0.0);
    EXPECT_EQ(WaveFileParameters{}.repetitions, 1u);
    EXPECT_EQ(WaveFileParameters{}.bias, 0.0);
    EXPECT_TRUE(WaveFileParameters{}.resource_id.empty());

    EXPECT_EQ(json::serialize(WaveJob(WaveParameters{}).getParameterObject()),
              R"({"output_data_rate":0E0,"value_rate":0E0,"repetitions":1,"current_range":0E0,"values":[],"bias":0E0})");
    const auto waveFile = WaveFileJob(WaveFileParameters{}).getParameterObject();
    EXPECT_EQ(keysOf(waveFile),
              (std::vector<std::string>{"output_data_rate", "value_rate", "repetitions", "current_range", "resource_id",
                                        "bias"}));
    EXPECT_EQ(waveFile.at("resource_id"), json::string(""));
    EXPECT_TRUE(waveFile.at("repetitions").is_uint64());
}

TEST(WaveRecords, ValueListTextWithSeventeenDigits)
{
    struct Case {
        std::vector<double> values;
        const char* text;
    };
    const Case cases[] = {
        {{}, ""},
        {{0.25}, "0.25"},
        {{0.1, 0.3}, "0.10000000000000001;0.29999999999999999"},
        {{1000.0, 1e-7, -0.0}, "1000;9.9999999999999995e-08;-0"},
        {{0.0, 0.5, 1.0, 0.5, 0.0, -0.5, -1.0, -0.5, 0.0}, "0;0.5;1;0.5;0;-0.5;-1;-0.5;0"},
    };
    for (const auto& c : cases) {
        tinyxml2::XMLDocument document;
        WaveParameters record;
        record.values = c.values;
        const auto* value = valueElement(document, record);
        // One text node, written as CDATA.
        ASSERT_NE(value->FirstChild(), nullptr) << c.text;
        ASSERT_NE(value->FirstChild()->ToText(), nullptr) << c.text;
        EXPECT_TRUE(value->FirstChild()->ToText()->CData()) << c.text;
        EXPECT_EQ(value->FirstChild()->NextSibling(), nullptr) << c.text;
        EXPECT_STREQ(value->FirstChild()->Value(), c.text);
        EXPECT_EQ(printed(value), std::string("<value><![CDATA[") + c.text + "]]></value>");

        // JSON keeps the numbers as an array of doubles.
        const auto values = WaveJob(record).getParameterObject().at("values").as_array();
        ASSERT_EQ(values.size(), c.values.size());
        for (std::size_t i = 0; i < values.size(); ++i) {
            EXPECT_TRUE(values[i].is_double());
            EXPECT_EQ(values[i].get_double(), c.values[i]);
        }
    }
}

TEST(WaveRecords, BiasTextDiffersBetweenTheTwoWaveRecords)
{
    tinyxml2::XMLDocument document;
    WaveParameters wave;
    wave.bias = 0.1;
    WaveFileParameters waveFile;
    waveFile.bias = 0.1;
    EXPECT_STREQ(writeParameters(document, wave)->FirstChildElement("bias")->GetText(), "0.10000000000000001");
    EXPECT_STREQ(writeParameters(document, waveFile)->FirstChildElement("bias")->GetText(), "0.1");
}

TEST(WaveRecords, WaveXmlReadsBackThroughAFile)
{
    const WaveParameters record{1000.0, 100.0, 4, 0.01, {0.1, -0.3, 1e-300, 2.5e10}, -0.25};
    tinyxml2::XMLDocument document;
    document.InsertEndChild(writeParameters(document, record));
    tinyxml2::XMLPrinter printer;
    document.Print(&printer);

    tinyxml2::XMLDocument reparsed;
    EXPECT_EQ(readParameters<WaveParameters>(parseXml(reparsed, printer.CStr())), record);

    tinyxml2::XMLDocument empty;
    EXPECT_TRUE(readParameters<WaveParameters>(
                    parseXml(empty, "<parameters><value><![CDATA[]]></value></parameters>"))
                    .values.empty());
}

TEST(WaveRecords, WaveXmlReaderToleratesHandWrittenLists)
{
    struct Case {
        const char* xml;
        std::vector<double> values;
    };
    const Case cases[] = {
        // Plain text instead of CDATA, blanks around the entries.
        {"<parameters><value> 1; 2.5 ;\n-3 </value></parameters>", {1.0, 2.5, -3.0}},
        // Two sections, as a large list could be split.
        {"<parameters><value><![CDATA[1;2]]><![CDATA[;3]]></value></parameters>", {1.0, 2.0, 3.0}},
        // A list with an entry that is no number is dropped as a whole: a
        // list with a gap would shift every later value in time.
        {"<parameters><value>1;x;3</value></parameters>", {}},
        {"<parameters><value>1;;3</value></parameters>", {}},
        {"<parameters><value>1;2;</value></parameters>", {}},
        {"<parameters><value>0x10</value></parameters>", {}},
        {"<parameters><values>1;2</values></parameters>", {}},
    };
    for (const auto& c : cases) {
        tinyxml2::XMLDocument document;
        const auto record = readParameters<WaveParameters>(parseXml(document, c.xml));
        EXPECT_EQ(record.values, c.values) << c.xml;
        EXPECT_EQ(record.repetitions, 1u) << c.xml;
    }
}

TEST(WaveRecords, RepetitionsFallBackToZeroWhenUnreadable)
{
    struct Case {
        const char* xml;
        std::uint64_t repetitions;
        double bias;
    };
    const Case cases[] = {
        {"<parameters><output_data_rate>10</output_data_rate></parameters>", 1, 0.0},
        {"<parameters><repetitions>many</repetitions><bias>0.5</bias></parameters>", 0, 0.5},
        {"<parameters><repetitions>18446744073709551615</repetitions></parameters>",
         std::numeric_limits<std::uint64_t>::max(), 0.0},
    };
    for (const auto& c : cases) {
        tinyxml2::XMLDocument waveDocument;
        const auto wave = readParameters<WaveParameters>(parseXml(waveDocument, c.xml));
        EXPECT_EQ(wave.repetitions, c.repetitions) << c.xml;
        EXPECT_EQ(wave.bias, c.bias) << c.xml;
        tinyxml2::XMLDocument fileDocument;
        const auto waveFile = readParameters<WaveFileParameters>(parseXml(fileDocument, c.xml));
        EXPECT_EQ(waveFile.repetitions, c.repetitions) << c.xml;
        EXPECT_EQ(waveFile.bias, c.bias) << c.xml;
    }
}

TEST(WaveRecords, ResourceIdWithMarkupRoundTrips)
{
    WaveFileParameters record;
    record.resource_id = "a&b<c>\"d\"";
    tinyxml2::XMLDocument document;
    document.InsertEndChild(writeParameters(document, record));
    tinyxml2::XMLPrinter printer;
    document.Print(&printer);
    tinyxml2::XMLDocument reparsed;
    EXPECT_EQ(readParameters<WaveFileParameters>(parseXml(reparsed, printer.CStr())).resource_id, record.resource_id);
}

TEST(WaveRecords, JsonCountsAndLists)
{
    const auto read = [](const char* text) { return StrictJson::read<WaveParameters>(json::parse(text)); };
    const std::string rest = R"("output_data_rate":1,"value_rate":1,"current_range":1,"bias":0)";
    EXPECT_EQ(read(("{" + rest + R"(,"repetitions":3.0,"values":[1,2.5,-3]})").c_str()).repetitions, 3u);
    EXPECT_EQ(read(("{" + rest + R"(,"repetitions":3.0,"values":[1,2.5,-3]})").c_str()).values,
              (std::vector<double>{1.0, 2.5, -3.0}));
    EXPECT_EQ(read(("{" + rest + R"(,"repetitions":18446744073709551615,"values":[]})").c_str()).repetitions,
              std::numeric_limits<std::uint64_t>::max());
    EXPECT_TRUE(read(("{" + rest + R"(,"repetitions":0,"values":[]})").c_str()).values.empty());
    expectJsonError([&] { read(("{" + rest + R"(,"repetitions":1e20,"values":[]})").c_str()); },
                    json::error::not_exact);
}
