#include "calibration_test_support.hpp"

#include "marlek_link_json/jobs/calibration/calibration_parameters_json.hpp"
#include "marlek_link_json/jobs/common/jobinfo_json.hpp"
#include "marlek_link_json/jobs/common/jobinfo_xml.hpp"

#include <tinyxml2.h>

#include <cmath>
#include <memory>

namespace {

std::string parametersText(const AbstractMeasurementJob& job)
{
    return json::serialize(job.getParameterObject());
}

TEST(CalibrationTypes, ProtocolTextOfEveryTypeAndDcOutsideTheRange)
{
    const std::vector<std::string> texts{"dump",
                                         "load",
                                         "dc",
                                         "main_shunts_dc",
                                         "external_potentiostat_dc",
                                         "filter",
                                         "gain",
                                         "zmu_filter",
                                         "zmu_gain",
                                         "zmu4_filter",
                                         "zmu4_gain",
                                         "zmu4_dc_gain",
                                         "voltage_range",
                                         "shunt_open",
                                         "shunt_load",
                                         "shunt_short",
                                         "shunt_reference",
                                         "main_voltage_range",
                                         "main_shunt_open",
                                         "main_shunt_load",
                                         "main_shunt_short",
                                         "reference_adc"};
    for (int value = 0; value < 22; ++value) {
        EXPECT_EQ(calibrationTypesEnumToString(static_cast<CalibrationTypesEnum>(value)), texts[value]) << value;
    }
    for (const int outside : {22, 1000, -1, -2147483647 - 1}) {
        EXPECT_EQ(calibrationTypesEnumToString(static_cast<CalibrationTypesEnum>(outside)), "dc") << outside;
    }
}

TEST(CalibrationJobs, NamesAndJobTypes)
{
    const CalibrateJob calibrate(CalibrateParameters{});
    const SetCalibrationDataJob setData(SetCalibrationDataParameters{});
    const GetCalibrationDataJob getData(GetCalibrationDataParameters{}, JobOptions{});
    const GetMeshJsonFileJob getMesh(AbstractMeasurementJob::Parameterless{}, JobOptions{});
    const SetMeshJsonFileJob setMesh(SetMeshJsonFileParameters{"res-1"}, JobOptions{});
    const MeasureIntegralJob integral(MeasureIntegralParameters{"voltage", 0.3}, JobOptions{});
    const GetFilterUsageMatrixJob filters(GetFilterUsageMatrixParameters{"ZMU4:1"}, JobOptions{});

    struct Case {
        const AbstractMeasurementJob& job;
        std::string name;
        JobTypeEnum type;
    };
    for (const auto& c : {Case{calibrate, "calibrate", JobTypeEnum::AC},
                          Case{setData, SERVICE_PREFIX + "set_calibration_data", JobTypeEnum::AC},
                          Case{getData, SERVICE_PREFIX + "get_calibration_data", JobTypeEnum::OTHER},
                          Case{getMesh, SERVICE_PREFIX + "get_mesh_json_file", JobTypeEnum::OTHER},
                          Case{setMesh, SERVICE_PREFIX + "set_mesh_json_file", JobTypeEnum::OTHER},
                          Case{integral, "measure_integral", JobTypeEnum::OTHER},
                          Case{filters, SERVICE_PREFIX + "get_filter_usage_matrix", JobTypeEnum::OTHER}}) {
        EXPECT_EQ(c.job.getName(), c.name);
        EXPECT_EQ(c.job.getType(), c.type) << c.name;
    }
    EXPECT_EQ(getData.getName().size(), 28u);
    EXPECT_EQ(filters.getName().size(), 31u);
    // One name object per job kind.
    EXPECT_EQ(&calibrate.getName(), &CalibrateJob(CalibrateParameters{}).getName());
}

TEST(CalibrationJobs, ParameterObjects)
{
    SetCalibrationDataParameters floatData{"gain", "MAIN:1:POT", {1}, "float", 0.5, {9.0}, {{1.0, {2.0, 3.0}}}, "x"};
    SetCalibrationDataParameters vectorData = floatData;
    vectorData.data_type = "float_vector";
    vectorData.float_vector_data = {1.0, -2.5};
    SetCalibrationDataParameters spectraData = floatData;
    spectraData.data_type = "spectra";
    spectraData.spectra_data = {{1000.0, {1.0, -2.0}}, {0.5, {0.25, 0.0}}};
    SetCalibrationDataParameters stringData = floatData;
    stringData.data_type = "string";
    stringData.string_data = "shunt table";
    SetCalibrationDataParameters wrongCase = floatData;
    wrongCase.data_type = "Float";
    SetCalibrationDataParameters noType = floatData;
    noType.data_type = "";

    struct Case {
        std::shared_ptr<AbstractMeasurementJob> job;
        std::string parameters;
    };
    const std::vector<Case> cases{
        {std::make_shared<CalibrateJob>(
             CalibrateParameters{CalibrationTypesEnum::SHUNT_REFERENCE, "MAIN:1:POT", {3, 4}, {}}),
         R"({"calibration_type":"shunt_reference","calibration_path":"MAIN:1:POT","indexes":[3,4],"paths":[]})"},
        {std::make_shared<CalibrateJob>(CalibrateParameters{static_cast<CalibrationTypesEnum>(40), "", {}, {"a", "b"}}),
         R"({"calibration_type":"dc","calibration_path":"","indexes":[],"paths":["a","b"]})"},
        {std::make_shared<AcMeasurementJob<CalibrateParametersString, &JobNames::CALIBRATE_JOB_NAME>>(
             CalibrateParametersString{"anything", "XPC:1", {0}, {"p"}}),
         R"({"calibration_type":"anything","calibration_path":"XPC:1","indexes":[0],"paths":["p"]})"},
        {std::make_shared<SetCalibrationDataJob>(floatData),
         R"({"calibration_type":"gain","calibration_path":"MAIN:1:POT","indexes":[1],)"
         R"("data":{"type":"float","value":0.5}})"},
        {std::make_shared<SetCalibrationDataJob>(vectorData),
         R"({"calibration_type":"gain","calibration_path":"MAIN:1:POT","indexes":[1],)"
         R"("data":{"type":"float_vector","value":[1.0,-2.5]}})"},
        {std::make_shared<SetCalibrationDataJob>(spectraData),
         R"({"calibration_type":"gain","calibration_path":"MAIN:1:POT","indexes":[1],"data":{"type":"spectra",)"
         R"("value":{"5.000000000000000e-01":{"real":0.25,"imag":0.0},)"
         R"("1.000000000000000e+03":{"real":1.0,"imag":-2.0}}}})"},
        {std::make_shared<SetCalibrationDataJob>(stringData),
         R"({"calibration_type":"gain","calibration_path":"MAIN:1:POT","indexes":[1],)"
         R"("data":{"type":"string","value":"shunt table"}})"},
        {std::make_shared<SetCalibrationDataJob>(wrongCase),
         R"({"calibration_type":"gain","calibration_path":"MAIN:1:POT","indexes":[1],"data":{"type":"Float"}})"},
        {std::make_shared<SetCalibrationDataJob>(noType),
         R"({"calibration_type":"gain","calibration_path":"MAIN:1:POT","indexes":[1],"data":{"type":""}})"},
        {std::make_shared<GetCalibrationDataJob>(GetCalibrationDataParameters{"filter", "ZMU4:1", {2, 0}},
                                                 JobOptions{}),
         R"({"calibration_type":"filter","calibration_path":"ZMU4:1","indexes":[2,0]})"},
        {std::make_shared<GetMeshJsonFileJob>(AbstractMeasurementJob::Parameterless{}, JobOptions{}), "{}"},
        {std::make_shared<SetMeshJsonFileJob>(SetMeshJsonFileParameters{"res-7"}, JobOptions{}),
         R"({"resource_id":"res-7"})"},
        {std::make_shared<MeasureIntegralJob>(MeasureIntegralParameters{"MAIN:1:POT:U", 2.0}, JobOptions{}),
         R"({"channel":"MAIN:1:POT:U","duration":2.0})"},
        {std::make_shared<GetFilterUsageMatrixJob>(GetFilterUsageMatrixParameters{"ZMU4:2"}, JobOptions{}),
         R"({"zmu4_path":"ZMU4:2"})"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(parametersText(*c.job), canonical(c.parameters)) << c.job->getName();
    }
}

TEST(CalibrationJobs, SetCalibrationDataRecordReadsBackWhatItWrites)
{
    SetCalibrationDataParameters spectra{"gain", "MAIN:1:POT", {1, 2}, "spectra", 0.0, {}, {{10.0, {1.0, 2.0}}}, ""};
    SetCalibrationDataParameters vector{"dc", "", {}, "float_vector", 0.0, {0.5, 3.0}, {}, ""};
    SetCalibrationDataParameters text{"dc", "p", {7}, "string", 0.0, {}, {}, "mesh"};
    SetCalibrationDataParameters number{"dc", "p", {7}, "float", -1.25, {}, {}, ""};
    SetCalibrationDataParameters unknown{"dc", "p", {7}, "integer", 0.0, {}, {}, ""};
    for (const auto& record : {spectra, vector, text, number, unknown}) {
        EXPECT_EQ(json::value_to<SetCalibrationDataParameters>(json::value_from(record)), record) << record.data_type;
    }

    struct Failure {
        const char* text;
        json::error error;
    };
    for (const auto& c : {
             Failure{R"([])", json::error::not_object},
             Failure{R"({"calibration_path":"","indexes":[],"data":{"type":"x"}})", json::error::size_mismatch},
             Failure{R"({"calibration_type":"dc","calibration_path":"","indexes":[-1],"data":{"type":"x"}})",
                     json::error::not_exact},
             Failure{R"({"calibration_type":"dc","calibration_path":"","indexes":[],"data":{"type":"float"}})",
                     json::error::size_mismatch},
             Failure{R"({"calibration_type":"dc","calibration_path":"","indexes":[],)"
                     R"("data":{"type":"float","value":1}})",
                     json::error::not_double},
         }) {
        EXPECT_EQ(jsonErrorOf([&] { json::value_to<SetCalibrationDataParameters>(json::parse(c.text)); }),
                  json::make_error_code(c.error))
            << c.text;
    }
}

TEST(CalibrationJobs, CalibrateParametersXmlForm)
{
    tinyxml2::XMLDocument document;
    const SerializableParameterStruct<CalibrateParametersString> wrapped(
        CalibrateParametersString{"gain", "MAIN:1:POT", {3, 18446744073709551615u}, {"A~B", "C"}});
    MXml::XmlSerializer serializer{&document, nullptr};
    wrapped.acceptSerializer(serializer);
    ASSERT_NE(serializer.element, nullptr);
    tinyxml2::XMLPrinter printer(nullptr, true);
    serializer.element->Accept(&printer);
    EXPECT_EQ(std::string(printer.CStr()),
              "<parameters><calibration_type>gain</calibration_type><calibration_path>MAIN:1:POT</calibration_path>"
              "<indexes_element><index>3</index><index>18446744073709551615</index></indexes_element>"
              "<paths_element><path>A~B</path><path>C</path></paths_element></parameters>");
    // Calibration parameters are never read back.
    EXPECT_EQ(SerializableParameterStruct<CalibrateParametersString>::fromXmlElement(serializer.element), nullptr);
}

template <typename P>
void expectNoXmlForm(const P& record)
{
    tinyxml2::XMLDocument document;
    const SerializableParameterStruct<P> wrapped(record);
    MXml::XmlSerializer serializer{&document, nullptr};
    wrapped.acceptSerializer(serializer);
    EXPECT_EQ(serializer.element, nullptr);
    document.Parse("<parameters><calibration_type>dc</calibration_type><resource_id>r</resource_id></parameters>");
    EXPECT_EQ(SerializableParameterStruct<P>::fromXmlElement(document.RootElement()), nullptr);
}

TEST(CalibrationJobs, ServiceRecordsHaveNoXmlForm)
{
    expectNoXmlForm(SetCalibrationDataParameters{"dc", "p", {1}, "float", 1.0, {}, {}, ""});
    expectNoXmlForm(GetCalibrationDataParameters{"dc", "p", {1}});
    expectNoXmlForm(SetMeshJsonFileParameters{"r"});
    expectNoXmlForm(GetFilterUsageMatrixParameters{"ZMU4:1"});
}

TEST(MeasureIntegralParameters, XmlFormReadsBackAndToleratesGaps)
{
    tinyxml2::XMLDocument document;
    const SerializableParameterStruct<MeasureIntegralParameters> wrapped(MeasureIntegralParameters{"voltage", 105e-12});
    MXml::XmlSerializer serializer{&document, nullptr};
    wrapped.acceptSerializer(serializer);
    ASSERT_NE(serializer.element, nullptr);
    tinyxml2::XMLPrinter printer(nullptr, true);
    serializer.element->Accept(&printer);
    EXPECT_EQ(std::string(printer.CStr()),
              "<parameters><channel>voltage</channel><duration>1.05e-10</duration></parameters>");

    struct Case {
        const char* xml;
        MeasureIntegralParameters expected;
    };
    for (const auto& c : {
             Case{"<parameters><channel>voltage</channel><duration>1.05e-10</duration></parameters>",
                  {"voltage", 105e-12}},
             Case{"<parameters><channel>MAIN:1:POT:U</channel><duration>0.3</duration></parameters>",
                  {"MAIN:1:POT:U", 0.3}},
             Case{"<parameters><duration>2</duration></parameters>", {"", 2.0}},
             Case{"<parameters><channel/><duration>soon</duration></parameters>", {"", 0.0}},
             Case{"<parameters/>", {"", 0.0}},
         }) {
        tinyxml2::XMLDocument input;
        ASSERT_EQ(input.Parse(c.xml), tinyxml2::XML_SUCCESS);
        const auto read = SerializableParameterStruct<MeasureIntegralParameters>::fromXmlElement(input.RootElement());
        const auto* record = dynamic_cast<const SerializableParameterStruct<MeasureIntegralParameters>*>(read.get());
        ASSERT_NE(record, nullptr) << c.xml;
        EXPECT_EQ(record->getRecord(), c.expected) << c.xml;
    }
}

} // namespace

namespace {

TEST(JobInformation, MeasureIntegralParametersComeBackServiceParametersDoNot)
{
    const auto infoWith = [](std::string_view type, std::string_view parameters) {
        return jobInfoFromJson(json::parse(R"({"job_id":"job-0001","type":")" + std::string(type) +
                                           R"(","parameters":)" + std::string(parameters) + "}"));
    };

    const JobInfo integral = infoWith("measure_integral", R"({"channel":"MAIN:1:POT:U","duration":3})");
    const auto* record =
        dynamic_cast<const SerializableParameterStruct<MeasureIntegralParameters>*>(integral.parameters.get());
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->getRecord(), (MeasureIntegralParameters{"MAIN:1:POT:U", 3.0}));
    EXPECT_EQ(jsonErrorOf([&] { infoWith("measure_integral", R"({"channel":"voltage"})"); }),
              json::make_error_code(json::error::size_mismatch));
    EXPECT_EQ(jsonErrorOf([&] { infoWith("measure_integral", R"({"channel":1,"duration":0.5})"); }),
              json::make_error_code(json::error::not_string));

    tinyxml2::XMLDocument document;
    auto* root = document.NewElement("root");
    document.InsertEndChild(root);
    MXml::appendJobinfoElement(integral, root);
    const JobInfo fromXml = MXml::jobInfoFromElement(root->FirstChildElement());
    const auto* xmlRecord =
        dynamic_cast<const SerializableParameterStruct<MeasureIntegralParameters>*>(fromXml.parameters.get());
    ASSERT_NE(xmlRecord, nullptr);
    EXPECT_EQ(xmlRecord->getRecord(), (MeasureIntegralParameters{"MAIN:1:POT:U", 3.0}));

    for (const auto& type : {std::string("calibrate"), SERVICE_PREFIX + "set_calibration_data",
                             SERVICE_PREFIX + "get_calibration_data", SERVICE_PREFIX + "get_mesh_json_file",
                             SERVICE_PREFIX + "set_mesh_json_file", SERVICE_PREFIX + "get_filter_usage_matrix"}) {
        EXPECT_EQ(infoWith(type, R"({"calibration_type":"dc"})").parameters, nullptr) << type;
    }
}

} // namespace
