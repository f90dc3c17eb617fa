// The hardware-property value in its XML text: written by its alternative
// and read back by the whole text.

#include "control_jobs.hpp"

#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <cmath>
#include <string>

namespace {

TEST(HardwarePropertyValueText, ReadByTheWholeText)
{
    struct Case {
        std::string text;
        HardwarePropertyValue expected;
    };
    const Case cases[] = {
        {"true", true},
        {"True", true},
        {"TRUE", true},
        {"false", false},
        {"False", false},
        {"FALSE", false},
        {"tRUE", std::string("tRUE")},
        {"yes", std::string("yes")},
        {"0", 0},
        {"1", 1},
        {"3", 3},
        {"-17", -17},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"2147483648", 2147483648.0},
        {"-9999999999", -9999999999.0},
        {"1.5", 1.5},
        {"-0.25", -0.25},
        {"1e+20", 1e20},
        {"1.05e-10", 1.05e-10},
        {"12abc", std::string("12abc")},
        {"1.5.2", std::string("1.5.2")},
        {" 12", std::string(" 12")},
        {"12 ", std::string("12 ")},
        {"0x10", std::string("0x10")},
        {"MAIN:1:POT", std::string("MAIN:1:POT")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const HardwarePropertyValue read = hardwarePropertyValueFromText(c.text);
        EXPECT_EQ(read.index(), c.expected.index());
        EXPECT_EQ(read, c.expected);
    }
    const HardwarePropertyValue notANumber = hardwarePropertyValueFromText("nan");
    ASSERT_TRUE(std::holds_alternative<double>(notANumber));
    EXPECT_TRUE(std::isnan(std::get<double>(notANumber)));
}

// What the writer gives reads back to the same alternative, except a whole
// double within 32 bits, which comes back as an int.
TEST(HardwarePropertyValueText, WrittenTextReadsBack)
{
    struct Case {
        HardwarePropertyValue value;
        std::string text;
        HardwarePropertyValue readBack;
    };
    const Case cases[] = {
        {true, "true", true},
        {false, "false", false},
        {-7, "-7", -7},
        {2.5, "2.5", 2.5},
        {0.1, "0.1", 0.1},
        {1e20, "1e+20", 1e20},
        {2.0, "2", 2},
        {std::string("DIGITAL_OUT"), "DIGITAL_OUT", std::string("DIGITAL_OUT")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(hardwarePropertyValueToText(c.value), c.text);
        tinyxml2::XMLDocument document;
        auto* parameters = document.NewElement("parameters");
        document.InsertEndChild(parameters);
        parameters->InsertNewChildElement("value")->SetText(hardwarePropertyValueToText(c.value).c_str());
        const auto read = SerializableParameterStruct<SetHardwarePropertyParameters>::fromXmlElement(parameters);
        const auto* record = dynamic_cast<const SerializableParameterStruct<SetHardwarePropertyParameters>*>(read.get());
        ASSERT_NE(record, nullptr);
        EXPECT_EQ(record->value, c.readBack);
        EXPECT_EQ(record->value.index(), c.readBack.index());
    }
}

} // namespace
