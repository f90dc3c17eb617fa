// Job information names its job and carries the parameters untyped; for
// every registered job kind it must give back a parameter object equal to
// the one that was sent, from JSON and from the XML form.

#include "control_jobs.hpp"

#include "acjobs/impedance_samples.hpp"
#include "marlek_link_json/jobs/common/jobinfo.hpp"
#include "marlek_link_json/jobs/common/jobinfo_json.hpp"
#include "marlek_link_json/jobs/common/jobinfo_xml.hpp"
#include "marlek_link_json/jobs/common/jobparameter_factory.hpp"
#include "marlek_link_json/jobs/control/jobs/get_potentiostat_state/get_potentiostat_statejob.hpp"
#include "marlek_link_json/jobs/control/jobs/measure_integral/measure_integraljob.hpp"
#include "marlek_link_json/jobs/control/jobs/set_hardware_settings/set_hardware_settingsjob.hpp"
#include "marlek_link_json/jobs/dc/jobs/dcmeasurementjobs.hpp"

#include <boost/describe/members.hpp>
#include <boost/system/system_error.hpp>
#include <boost/mp11/algorithm.hpp>
#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace {

// Every member set, none to its default, so that a member lost on the way
// shows.
void fillMember(double& member, int position) { member = 0.25 * position - 1.0; }
void fillMember(bool& member, int) { member = true; }
void fillMember(std::uint64_t& member, int position) { member = 1000 + position; }
void fillMember(std::uint8_t& member, int position) { member = static_cast<std::uint8_t>(250 + position); }
void fillMember(std::string& member, int position) { member = "text " + std::to_string(position); }
void fillMember(std::vector<double>& member, int position) { member = {1.5, -2.25, 1.0 * position}; }
void fillMember(std::vector<std::uint64_t>& member, int position)
{
    member = {0, static_cast<std::uint64_t>(position), 1ULL << 40};
}
void fillMember(PotentiostatCoupling& member, int) { member = PotentiostatCoupling::FRA_PROBE; }
void fillMember(HardwarePropertyValue& member, int) { member = std::string("on"); }

template <typename P>
P filled()
{
    P record{};
    int position = 0;
    boost::mp11::mp_for_each<boost::describe::describe_members<P, boost::describe::mod_public>>(
        [&](auto member) { fillMember(record.*member.pointer, ++position); });
    return record;
}

template <typename P>
const P* recordOf(const JobInfo& info)
{
    const auto* wrapped = dynamic_cast<const SerializableParameterStruct<P>*>(info.parameters.get());
    return wrapped != nullptr ? &wrapped->getRecord() : nullptr;
}

JobInfo throughXml(const JobInfo& info)
{
    tinyxml2::XMLDocument document;
    auto* root = document.NewElement("root");
    document.InsertEndChild(root);
    MXml::appendJobinfoElement(info, root);
    return MXml::jobInfoFromElement(root->FirstChildElement("job-info"));
}

// JSON -> job information -> parameters, then the job information's XML
// form -> parameters.
template <typename Job>
void expectRoundTrip(const typename Job::ParameterStruct& record)
{
    using P = typename Job::ParameterStruct;
    const json::object source{{"job_id", "job-0001"},
                              {"status", "FINISHED"},
                              {"type", Job::name},
                              {"parameters", json::value_from(record)}};
    const JobInfo info = jobInfoFromJson(source);
    const P* fromJson = recordOf<P>(info);
    ASSERT_NE(fromJson, nullptr);
    EXPECT_TRUE(*fromJson == record);

    const JobInfo again = throughXml(info);
    EXPECT_EQ(again.type, Job::name);
    if constexpr (hasParameterXmlForm<P>) {
        const P* fromXml = recordOf<P>(again);
        ASSERT_NE(fromXml, nullptr);
        EXPECT_TRUE(*fromXml == record);
    } else {
        EXPECT_EQ(again.parameters, nullptr);
    }
}

template <typename P, const std::string_view* Name>
using Dc = DcMeasurementJob<P, Name>;
template <typename P, const std::string_view* Name>
using Ac = AcMeasurementJob<P, Name>;

struct RoundTripRow {
    std::string type;
    std::function<void()> check;
};

template <typename Job>
RoundTripRow row(const typename Job::ParameterStruct& record)
{
    return {Job::name, [record] { expectRoundTrip<Job>(record); }};
}

template <typename Job>
RoundTripRow row()
{
    return row<Job>(filled<typename Job::ParameterStruct>());
}

TEST(ParameterRoundTrip, EveryRegisteredKindComesBackEqual)
{
    const std::vector<RoundTripRow> rows{
        row<Ac<EisParametersGenerate, &JobNames::EIS_GENERATE_JOB_NAME>>(
            ImpedanceSample<EisParametersGenerate>::full()),
        row<Ac<EisParametersFrequencyTable, &JobNames::EIS_TABLE_JOB_NAME>>(
            ImpedanceSample<EisParametersFrequencyTable>::full()),
        row<Ac<EisMultiSineTable, &JobNames::EIS_MULTISINE_TABLE_JOB_NAME>>(
            ImpedanceSample<EisMultiSineTable>::full()),
        row<Ac<EisMultisineParametersGenerate, &JobNames::EIS_MULTISINE_GENERATE_JOB_NAME>>(
            ImpedanceSample<EisMultisineParametersGenerate>::full()),
        row<Ac<GeisVaParametersGenerate, &JobNames::GEIS_VA_GENERATE_JOB_NAME>>(
            ImpedanceSample<GeisVaParametersGenerate>::full()),
        row<Ac<GeisVaParametersFrequencyTable, &JobNames::GEIS_VA_TABLE_JOB_NAME>>(
            ImpedanceSample<GeisVaParametersFrequencyTable>::full()),
        row<Dc<AcCvParameters, &JobNames::AC_CV_JOB_NAME>>(),
        row<Dc<CvParameters, &JobNames::CV_JOB_NAME>>(),
        row<Dc<FastCyclingParameters, &JobNames::FAST_CYCLING_JOB_NAME>>(),
        row<Dc<DpvParameters, &JobNames::DPV_JOB_NAME>>(),
        row<Dc<NpvParameters, &JobNames::NPV_JOB_NAME>>(),
        row<Dc<OcvParameters, &JobNames::OCV_JOB_NAME>>(),
        row<Dc<PogaParameters, &JobNames::POGA_JOB_NAME>>(),
        row<Dc<RampParameters, &JobNames::RAMP_JOB_NAME>>(),
        row<Dc<SteadyStairsParameters, &JobNames::STEADYSTAIRS_JOB_NAME>>(),
        row<Dc<SwvParameters, &JobNames::SWV_JOB_NAME>>(),
        row<Dc<WaveParameters, &JobNames::WAVE_JOB_NAME>>(),
        row<Dc<WaveFileParameters, &JobNames::WAVE_FILE_JOB_NAME>>(),
        row<BeepJob>(),
        row<GetAdcStateJob>(),
        row<GetPotentiostatStateJob>(),
        row<MeasureIntegralJob>(),
        row<SetActiveCurrentRangesJob>(),
        row<SetVoltageRangeJob>(),
        row<SetActiveGainsJob>(),
        row<SetBiasJob>(),
        row<SetCableOptionsJob>(),
        row<SetFirmwareUpdateJob>(),
        row<SetHardwarePropertyJob>(),
        row<SetHardwarePropertyJob>(SetHardwarePropertyParameters{"DIO:1", "DIGITAL_OUT", true}),
        row<SetHardwarePropertyJob>(SetHardwarePropertyParameters{"MUX16:1", "MUX_CHANNEL", -2147483647 - 1}),
        row<SetHardwarePropertyJob>(SetHardwarePropertyParameters{"DAC:1", "LEVEL", 2.5}),
        row<SetHardwarePropertyJob>(SetHardwarePropertyParameters{"DAC:1", "LEVEL", 1e20}),
        row<SetHardwareSettingsJob>(SetHardwareSettingsParameters{
            {Channel{"MAIN:1:POT:U~ZMU:1:ZMU_U", "voltage", "V", UserPolynomial({0.5, 2.0})}},
            {ImpedanceConfiguration{"MAIN:1:POT:U~ZMU:1:ZMU_U", "MAIN:1:POT:I~ZMU:1:ZMU_I", "cell"}},
            {PotentiostatConfiguration{"MAIN:1:POT", UserPolynomial({0.0, 1.0}), UserPolynomial({-0.25, 4.0})}}}),
        row<SetLedColorJob>(),
        row<SleepJob>(),
        row<SwitchOffJob>(),
        row<SwitchOnQuickJob>(),
        row<SwitchOnJob>(),
        row<SwitchOnJob>(SwitchOnParameters{"MAIN:1:POT", PotentiostatCoupling::GALVANOSTATIC, 1.5, 2, 1}),
    };
    std::set<std::string> covered;
    for (const RoundTripRow& r : rows) {
        SCOPED_TRACE(r.type);
        EXPECT_NE(JobParameterFactory::getInstance().find(r.type), nullptr);
        r.check();
        covered.insert(r.type);
    }
    EXPECT_EQ(covered.size(), 35u);
}

// A whole double within 32 bits travels as a JSON double but reads back as
// the int alternative, in JSON as in XML.
TEST(ParameterRoundTrip, WholeDoublePropertyValueReadsBackAsInt)
{
    const json::object source{
        {"job_id", "job-0001"},
        {"type", "set_hardware_property"},
        {"parameters", json::value_from(SetHardwarePropertyParameters{"DAC:1", "LEVEL", 2.0})}};
    EXPECT_EQ(json::serialize(source.at("parameters")), R"({"uri":"DAC:1","key":"LEVEL","value":2E0})");
    const JobInfo info = jobInfoFromJson(source);
    ASSERT_NE(recordOf<SetHardwarePropertyParameters>(info), nullptr);
    EXPECT_EQ(recordOf<SetHardwarePropertyParameters>(info)->value, HardwarePropertyValue(2));
    const JobInfo again = throughXml(info);
    ASSERT_NE(recordOf<SetHardwarePropertyParameters>(again), nullptr);
    EXPECT_EQ(recordOf<SetHardwarePropertyParameters>(again)->value, HardwarePropertyValue(2));
}

TEST(ParameterRoundTrip, OtherJobNamesGiveNoParameterObject)
{
    for (const char* type : {"switch_all_off", "get_hardware_property", "get_date_time", "set_date_time", "reboot",
                             "reenumerate_hardware", "initialize_rtc", "get_hardware_info", "calibrate", "CV",
                             "set_led_color "}) {
        SCOPED_TRACE(type);
        const JobInfo info = jobInfoFromJson(
            json::object{{"job_id", "job-0001"}, {"type", type}, {"parameters", json::object{{"uri", "x"}, {"key", "y"}, {"datetime", "z"}}}});
        EXPECT_EQ(info.type, type);
        EXPECT_EQ(info.parameters, nullptr);
    }
}

TEST(ParameterRoundTrip, ReadingErrorsAndLenientReaders)
{
    json::object cv{{"job_id", "job-0001"}, {"type", "cv"}, {"parameters", json::value_from(filled<CvParameters>())}};
    cv["parameters"].as_object().erase("start_value");
    cv["parameters"].as_object()["autorange"] = "yes";
    try {
        (void)jobInfoFromJson(cv);
        ADD_FAILURE() << "read without error";
    } catch (const boost::system::system_error& error) {
        EXPECT_EQ(error.code(), json::error::size_mismatch);
    }

    // The impedance records' own readers fill what is missing instead.
    const JobInfo table = jobInfoFromJson(
        json::object{{"job_id", "job-0001"}, {"type", "eis_table"}, {"parameters", json::object{{"spectrum", 1}}}});
    const auto* record = recordOf<EisParametersFrequencyTable>(table);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->bias, 0.0);
    EXPECT_TRUE(record->spectrum.empty());

    tinyxml2::XMLDocument document;
    ASSERT_EQ(document.Parse("<job-info><job-id>job-0001</job-id><type>cv</type>"
                             "<parameters><start_value>0.5</start_value></parameters></job-info>"),
              tinyxml2::XML_SUCCESS);
    const JobInfo fromXml = MXml::jobInfoFromElement(document.RootElement());
    const auto* cvRecord = recordOf<CvParameters>(fromXml);
    ASSERT_NE(cvRecord, nullptr);
    EXPECT_EQ(cvRecord->start_value, 0.5);
    EXPECT_EQ(cvRecord->scan_rate, 0.0);

    ASSERT_EQ(document.Parse("<job-info><job-id>job-0001</job-id><type>set_voltage_range</type>"
                             "<parameters><potentiostat>p</potentiostat><index>1</index></parameters></job-info>"),
              tinyxml2::XML_SUCCESS);
    EXPECT_EQ(MXml::jobInfoFromElement(document.RootElement()).parameters, nullptr);
}

} // namespace
