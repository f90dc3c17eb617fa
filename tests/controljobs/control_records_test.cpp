// The control records' JSON reading through the job-parameter factory, their
// XML forms, and the job names.

#include "control_jobs.hpp"

#include "marlek_link_json/jobs/common/jobparameter_factory.hpp"

#include <boost/system/system_error.hpp>
#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <memory>
#include <string>
#include <vector>

namespace {

std::shared_ptr<MeasurementParameters> build(const std::string& type, const json::value& parameters)
{
    const auto builders = JobParameterFactory::getInstance().find(type);
    if (builders == nullptr) {
        ADD_FAILURE() << type << " is not registered";
        return nullptr;
    }
    return builders->first(parameters);
}

template <typename P>
P builtRecord(const std::string& type, std::string_view parameters)
{
    const auto built = build(type, json::parse(parameters));
    const auto* wrapped = dynamic_cast<const SerializableParameterStruct<P>*>(built.get());
    if (wrapped == nullptr) {
        ADD_FAILURE() << "no " << type << " record";
        return P{};
    }
    return wrapped->getRecord();
}

TEST(ControlRecordJson, ReadingFailsWithTheFirstMembersError)
{
    struct Case {
        std::string type;
        std::string parameters;
        json::error error;
    };
    const Case cases[] = {
        {"set_led_color", R"({"red":256,"green":0,"blue":0})", json::error::not_exact},
        {"set_led_color", R"({"red":-1,"green":0,"blue":0})", json::error::not_exact},
        {"set_led_color", R"({"red":12.5,"green":0,"blue":0})", json::error::not_exact},
        {"set_led_color", R"({"red":"12","green":0,"blue":0})", json::error::not_number},
        {"switch_on", R"({"potentiostat":"p","coupling":"galvanostatic","bias":0,"voltage_range_index":0,)"
                      R"("compliance_range_index":0})",
         json::error::unknown_name},
        {"switch_on_quick", R"({"potentiostat":"p","coupling":1,"bias":0,"voltage_range_index":0,)"
                            R"("compliance_range_index":0})",
         json::error::not_string},
        {"switch_on", R"({"coupling":"bad","bias":0,"voltage_range_index":0,"compliance_range_index":0})",
         json::error::size_mismatch},
        {"switch_on", R"({"potentiostat":"p","coupling":"FRA_PROBE","bias":0,"voltage_range_index":-1,)"
                      R"("compliance_range_index":0})",
         json::error::not_exact},
        {"set_hardware_property", R"({"uri":"u","key":"k","value":null})", json::error::exhausted_variants},
        {"set_hardware_property", R"({"uri":"u","key":"k","value":[1]})", json::error::exhausted_variants},
        {"set_hardware_property", R"({"uri":"u","key":"k","value":{}})", json::error::exhausted_variants},
        {"set_hardware_property", R"({"uri":"u","value":1})", json::error::size_mismatch},
        {"set_active_current_ranges", R"({"potentiostat":"p","indexes":[1,-1]})", json::error::not_exact},
        {"set_active_current_ranges", R"({"potentiostat":"p","indexes":[1,2.5]})", json::error::not_exact},
        {"set_active_gains", R"({"adc":"a","indexes":[1,"2"]})", json::error::not_number},
        {"set_active_gains", R"({"adc":"a","indexes":3})", json::error::not_array},
        {"set_voltage_range", R"({"potentiostat":"p","index":true})", json::error::not_number},
        {"set_firmware_update", R"({"resource_id":17})", json::error::not_string},
        {"beep", R"({"frequency":1000})", json::error::size_mismatch},
        {"sleep", R"({"duration":"1"})", json::error::not_number},
        {"set_bias", R"([{"potentiostat":"p","bias":1}])", json::error::not_object},
        {"set_cable_options", "3", json::error::not_object},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type + " " + c.parameters);
        try {
            build(c.type, json::parse(c.parameters));
            ADD_FAILURE() << "read without error";
        } catch (const boost::system::system_error& error) {
            EXPECT_EQ(error.code(), c.error) << error.what();
        }
    }
}

TEST(ControlRecordJson, ReadingAcceptsEveryNumberThatFits)
{
    EXPECT_EQ(builtRecord<SetLedColorParameters>("set_led_color", R"({"blue":128,"red":12.0,"green":255,"x":1})"),
              (SetLedColorParameters{12, 255, 128}));
    EXPECT_EQ(builtRecord<SwitchOnParameters>("switch_on", R"({"potentiostat":"p","coupling":"GALVANOSTATIC",)"
                                                           R"("bias":1,"voltage_range_index":2.0,)"
                                                           R"("compliance_range_index":18446744073709551615})"),
              (SwitchOnParameters{"p", PotentiostatCoupling::GALVANOSTATIC, 1.0, 2, 18446744073709551615ULL}));
    EXPECT_EQ(builtRecord<SetActiveCurrentRangesParameters>("set_active_current_ranges",
                                                            R"({"potentiostat":"p","indexes":[]})"),
              (SetActiveCurrentRangesParameters{"p", {}}));
    EXPECT_EQ(builtRecord<SetActiveGainsParameters>("set_active_gains", R"({"adc":"a","indexes":[0,2]})"),
              (SetActiveGainsParameters{"a", {0, 2}}));
    EXPECT_EQ(builtRecord<GetAdcStateParameters>("get_adc_state", R"({"adc":"a","potentiostat":"p"})"),
              (GetAdcStateParameters{"a"}));

    struct ValueCase {
        std::string value;
        HardwarePropertyValue expected;
    };
    const ValueCase values[] = {
        {"true", true},         {"7", 7},
        {"7.0", 7},             {"7.5", 7.5},
        {"3000000000", 3000000000.0}, {"-2147483648", -2147483647 - 1},
        {R"("on")", std::string("on")},
    };
    for (const ValueCase& v : values) {
        SCOPED_TRACE(v.value);
        const auto record = builtRecord<SetHardwarePropertyParameters>(
            "set_hardware_property", R"({"uri":"u","key":"k","value":)" + v.value + "}");
        EXPECT_EQ(record.value, v.expected);
        EXPECT_EQ(record.value.index(), v.expected.index());
    }
}

tinyxml2::XMLElement* written(tinyxml2::XMLDocument& document, const MeasurementParameters& parameters)
{
    MXml::XmlSerializer serializer{&document, nullptr};
    parameters.acceptSerializer(serializer);
    return serializer.element;
}

std::string textOf(const tinyxml2::XMLElement* element)
{
    tinyxml2::XMLPrinter printer(nullptr, true);
    element->Accept(&printer);
    return printer.CStr();
}

template <typename P>
P readXml(const char* text)
{
    tinyxml2::XMLDocument document;
    EXPECT_EQ(document.Parse(text), tinyxml2::XML_SUCCESS);
    const auto read = SerializableParameterStruct<P>::fromXmlElement(document.RootElement());
    const auto* wrapped = dynamic_cast<const SerializableParameterStruct<P>*>(read.get());
    if (wrapped == nullptr) {
        ADD_FAILURE() << "nothing read from " << text;
        return P{};
    }
    return wrapped->getRecord();
}

TEST(ControlRecordXml, WrittenMemberByMemberInDeclarationOrder)
{
    struct Case {
        std::shared_ptr<MeasurementParameters> parameters;
        std::string xml;
    };
    const Case cases[] = {
        {std::make_shared<SerializableParameterStruct<SwitchOnParameters>>(
             SwitchOnParameters{"MAIN:1:POT", PotentiostatCoupling::GALVANOSTATIC, 1.5, 2, 1}),
         "<parameters><potentiostat>MAIN:1:POT</potentiostat><coupling>GALVANOSTATIC</coupling><bias>1.5</bias>"
         "<voltage_range_index>2</voltage_range_index><compliance_range_index>1</compliance_range_index>"
         "</parameters>"},
        {std::make_shared<SerializableParameterStruct<SetCableOptionsParameters>>(
             SetCableOptionsParameters{"p", 105e-12}),
         "<parameters><potentiostat>p</potentiostat><additional_ce_capacitance>1.05e-10</additional_ce_capacitance>"
         "</parameters>"},
        {std::make_shared<SerializableParameterStruct<BeepParameters>>(BeepParameters{1000.0, 0.5}),
         "<parameters><frequency>1000</frequency><duration>0.5</duration></parameters>"},
        {std::make_shared<SerializableParameterStruct<SetLedColorParameters>>(SetLedColorParameters{255, 0, 7}),
         "<parameters><red>255</red><green>0</green><blue>7</blue></parameters>"},
        {std::make_shared<SerializableParameterStruct<SetHardwarePropertyParameters>>(
             SetHardwarePropertyParameters{"DIO:1", "DIGITAL_OUT", 1e20}),
         "<parameters><uri>DIO:1</uri><key>DIGITAL_OUT</key><value>1e+20</value></parameters>"},
        {std::make_shared<SerializableParameterStruct<Parameterless>>(), "<parameters/>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.xml);
        tinyxml2::XMLDocument document;
        const auto* element = written(document, *c.parameters);
        ASSERT_NE(element, nullptr);
        EXPECT_EQ(textOf(element), c.xml);
    }
}

TEST(ControlRecordXml, OutOfRangeCouplingIsItsNumberInJsonAndEmptyInXml)
{
    const SwitchOnParameters record{"p", static_cast<PotentiostatCoupling>(5), 0.0, 0, 0};
    const SwitchOnJob job(record, JobOptions{});
    EXPECT_EQ(job.getParameterObject().at("coupling"), json::value(5));
    tinyxml2::XMLDocument document;
    const auto* element = written(document, SerializableParameterStruct<SwitchOnParameters>(record));
    ASSERT_NE(element, nullptr);
    const auto* coupling = element->FirstChildElement("coupling");
    ASSERT_NE(coupling, nullptr);
    const char* text = coupling->GetText();
    EXPECT_TRUE(text == nullptr || *text == '\0') << text;
}

TEST(ControlRecordXml, ReadingKeepsStartValuesForWhatItCannotRead)
{
    EXPECT_EQ(readXml<SwitchOnParameters>("<parameters><potentiostat>p</potentiostat>"
                                          "<coupling>galvanostatic</coupling><bias>abc</bias>"
                                          "<voltage_range_index>x</voltage_range_index>"
                                          "<compliance_range_index>4</compliance_range_index></parameters>"),
              (SwitchOnParameters{"p", PotentiostatCoupling::POTENTIOSTATIC, 0.0, 0, 4}));
    EXPECT_EQ(readXml<SwitchOnQuickParameters>("<parameters><coupling>FRA_PROBE</coupling><coupling>GALVANOSTATIC"
                                               "</coupling><potentiostat/><bias>-2.5</bias></parameters>"),
              (SwitchOnQuickParameters{"", PotentiostatCoupling::FRA_PROBE, -2.5, 0, 0}));
    EXPECT_EQ(readXml<SetLedColorParameters>("<parameters><red>300</red><blue>12</blue></parameters>"),
              (SetLedColorParameters{44, 0, 12}));
    EXPECT_EQ(readXml<SetDateTimeParameters>("<parameters><datetime>2025-01-01T00:00:00</datetime></parameters>"),
              (SetDateTimeParameters{"2025-01-01T00:00:00"}));
    EXPECT_EQ(readXml<GetHardwarePropertyParameters>("<parameters><key>MUX_CHANNEL</key></parameters>"),
              (GetHardwarePropertyParameters{"", "MUX_CHANNEL"}));
    EXPECT_EQ(readXml<SetHardwarePropertyParameters>("<parameters><uri>u</uri><key>k</key></parameters>"),
              (SetHardwarePropertyParameters{"u", "k", false}));
    EXPECT_EQ(readXml<SetHardwarePropertyParameters>("<parameters><value></value></parameters>"),
              (SetHardwarePropertyParameters{"", "", false}));
    EXPECT_EQ(readXml<Parameterless>("<parameters><anything>1</anything></parameters>"), Parameterless{});
}

TEST(ControlRecordXml, RecordsWithoutXmlFormWriteAndReadNothing)
{
    const std::vector<std::shared_ptr<MeasurementParameters>> records{
        std::make_shared<SerializableParameterStruct<SetVoltageRangeParameters>>(SetVoltageRangeParameters{"p", 1}),
        std::make_shared<SerializableParameterStruct<SetActiveGainsParameters>>(SetActiveGainsParameters{"a", {1}}),
        std::make_shared<SerializableParameterStruct<SetActiveCurrentRangesParameters>>(
            SetActiveCurrentRangesParameters{"p", {1}}),
        std::make_shared<SerializableParameterStruct<SetFirmwareUpdateParameters>>(
            SetFirmwareUpdateParameters{"res-1"}),
    };
    for (const auto& record : records) {
        tinyxml2::XMLDocument document;
        EXPECT_EQ(written(document, *record), nullptr);
    }
    tinyxml2::XMLDocument document;
    ASSERT_EQ(document.Parse("<parameters><potentiostat>p</potentiostat><index>1</index></parameters>"),
              tinyxml2::XML_SUCCESS);
    auto* element = document.RootElement();
    EXPECT_EQ(SerializableParameterStruct<SetVoltageRangeParameters>::fromXmlElement(element), nullptr);
    EXPECT_EQ(SerializableParameterStruct<SetActiveGainsParameters>::fromXmlElement(element), nullptr);
    EXPECT_EQ(SerializableParameterStruct<SetActiveCurrentRangesParameters>::fromXmlElement(element), nullptr);
    EXPECT_EQ(SerializableParameterStruct<SetFirmwareUpdateParameters>::fromXmlElement(element), nullptr);
}

TEST(ControlJobNames, OneNameObjectPerKindAndByteExactServiceNames)
{
    const SleepJob first(SleepParameters{1.0}, JobOptions{});
    const SleepJob second(SleepParameters{2.0}, JobOptions{});
    EXPECT_EQ(&first.getName(), &second.getName());
    const SwitchOnJob on(SwitchOnParameters{}, JobOptions{});
    EXPECT_EQ(&on.getName(), &SwitchOnJob::name);
    EXPECT_EQ(on.getName(), "switch_on");
    EXPECT_EQ(static_cast<int>(on.getType()), 2);

    const std::string prefix{'\xF0', '\x9F', '\x9B', '\xA0', '\xEF', '\xB8', '\x8F', '/'};
    const std::pair<std::string_view, std::string_view> services[] = {
        {JobNames::SET_CALIBRATION_DATA_JOB_NAME, "set_calibration_data"},
        {JobNames::GET_CALIBRATION_DATA_JOB_NAME, "get_calibration_data"},
        {JobNames::GET_MESH_JSON_FILE_JOB_NAME, "get_mesh_json_file"},
        {JobNames::SET_MESH_JSON_FILE_JOB_NAME, "set_mesh_json_file"},
        {JobNames::GET_FILTER_USAGE_MATRIX_JOB_NAME, "get_filter_usage_matrix"},
    };
    for (const auto& [name, rest] : services) {
        EXPECT_EQ(name, prefix + std::string(rest));
    }
    EXPECT_EQ(JobNames::GET_CALIBRATION_DATA_JOB_NAME.size(), 28u);
}

} // namespace
