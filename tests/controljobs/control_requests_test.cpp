// Every control and query job kind run against the fake workstation: the
// exact request it sends and the result it reads from its JOB_DONE.

#include "control_jobs.hpp"

#include "support/connected_session.hpp"

#include "fake_workstation/fake_control_jobs.hpp"
#include "fake_workstation/fake_job_script.hpp"
#include "fake_workstation/fake_workstation.hpp"
#include "marlek_link/marlek_link.hpp"
#include "marlek_link_json/link_json_session.hpp"
#include "marlek_link_json/link_ll_session_flags.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace {

struct RequestRow {
    std::string type;
    std::function<std::unique_ptr<AbstractMeasurementJob>()> make;
    // The whole "/job/start" request without its "request_id".
    std::string request;
    // What JOB_DONE carries as "result", and what the job must make of it.
    std::optional<std::string> result;
    std::function<void(const AbstractMeasurementJob&)> checkResult;
};

template <typename Job, typename... Args>
std::function<std::unique_ptr<AbstractMeasurementJob>()> make(Args... args)
{
    return [=] { return std::make_unique<Job>(args...); };
}

template <typename Job>
const Job& as(const AbstractMeasurementJob& job)
{
    return dynamic_cast<const Job&>(job);
}

std::string startOf(std::string_view type, std::string_view parameters, std::string_view rest = {})
{
    return std::string(R"({"do":"/job/start","job":{"type":")") + std::string(type) + R"(","parameters":)"
        + std::string(parameters) + R"(,"stop_conditions":[],"job_meta":{}})" + std::string(rest) + "}";
}

const std::string POT = "MAIN:1:POT";

std::vector<RequestRow> rows()
{
    return {
        {"switch_off", make<SwitchOffJob>(SwitchOffParameters{POT}, JobOptions{}),
         startOf("switch_off", R"({"potentiostat":"MAIN:1:POT"})")},
        {"switch_all_off", make<SwitchAllOffJob>(), startOf("switch_all_off", "{}")},
        {"switch_on",
         make<SwitchOnJob>(SwitchOnParameters{POT, PotentiostatCoupling::GALVANOSTATIC, 1.5, 2, 1}, JobOptions{}),
         startOf("switch_on", R"({"potentiostat":"MAIN:1:POT","coupling":"GALVANOSTATIC","bias":1.5,)"
                              R"("voltage_range_index":2,"compliance_range_index":1})"),
         R"({"applied_bias":1.5,"voltage":1.5,"current":0.0625,"extra":"ignored"})",
         [](const AbstractMeasurementJob& job) {
             EXPECT_EQ(as<SwitchOnJob>(job).getJobResult(), (SwitchOnInfo{1.5, 1.5, 0.0625}));
         }},
        {"switch_on_quick",
         make<SwitchOnQuickJob>(SwitchOnQuickParameters{POT, PotentiostatCoupling::FRA_PROBE, -0.25, 0, 7},
                                std::map<std::string, std::string>{{"who", "bench 3"}}, JobOptions{true, false}),
         R"({"do":"/job/start","job":{"type":"switch_on_quick","parameters":{"potentiostat":"MAIN:1:POT",)"
         R"("coupling":"FRA_PROBE","bias":-0.25,"voltage_range_index":0,"compliance_range_index":7},)"
         R"("stop_conditions":[],"job_meta":{"who":"bench 3"}},"bypass_queue":true})"},
        {"set_bias", make<SetBiasJob>(SetBiasParameters{POT, 1.5}, JobOptions{}),
         startOf("set_bias", R"({"potentiostat":"MAIN:1:POT","bias":1.5})")},
        {"set_cable_options", make<SetCableOptionsJob>(SetCableOptionsParameters{POT, 0.0625}, JobOptions{}),
         startOf("set_cable_options", R"({"potentiostat":"MAIN:1:POT","additional_ce_capacitance":0.0625})")},
        {"set_active_current_ranges",
         make<SetActiveCurrentRangesJob>(SetActiveCurrentRangesParameters{POT, {}}, JobOptions{false, true}),
         startOf("set_active_current_ranges", R"({"potentiostat":"MAIN:1:POT","indexes":[]})",
                 R"(,"discard_result_data":true)")},
        {"set_voltage_range", make<SetVoltageRangeJob>(SetVoltageRangeParameters{POT, 3}, JobOptions{}),
         startOf("set_voltage_range", R"({"potentiostat":"MAIN:1:POT","index":3})")},
        {"set_active_gains", make<SetActiveGainsJob>(SetActiveGainsParameters{"ZMU:1:ADC", {0, 2}}, JobOptions{}),
         startOf("set_active_gains", R"({"adc":"ZMU:1:ADC","indexes":[0,2]})")},
        {"sleep", make<SleepJob>(SleepParameters{2.5}, JobOptions{}), startOf("sleep", R"({"duration":2.5})")},
        {"set_hardware_property",
         make<SetHardwarePropertyJob>(SetHardwarePropertyParameters{"MUX16:1", "MUX_CHANNEL", 5}, JobOptions{}),
         startOf("set_hardware_property", R"({"uri":"MUX16:1","key":"MUX_CHANNEL","value":5})")},
        {"get_hardware_property",
         make<GetHardwarePropertyJob>(GetHardwarePropertyParameters{"DIO:1", "DIGITAL_OUT"}, JobOptions{}),
         startOf("get_hardware_property", R"({"uri":"DIO:1","key":"DIGITAL_OUT"})"), R"({"value":3})",
         [](const AbstractMeasurementJob& job) {
             EXPECT_EQ(as<GetHardwarePropertyJob>(job).getJobResult(), HardwarePropertyValue(3));
         }},
        {"beep", make<BeepJob>(BeepParameters{1000.0, 0.5}, JobOptions{}),
         startOf("beep", R"({"frequency":1000.0,"duration":0.5})")},
        {"set_led_color", make<SetLedColorJob>(SetLedColorParameters{255, 0, 128}, JobOptions{}),
         startOf("set_led_color", R"({"red":255,"green":0,"blue":128})")},
        {"get_adc_state", make<GetAdcStateJob>(GetAdcStateParameters{"ZMU:1:ADC"}, JobOptions{}),
         startOf("get_adc_state", R"({"adc":"ZMU:1:ADC"})"), R"({"active_gain_indexes":[0,1,2]})",
         [](const AbstractMeasurementJob& job) {
             EXPECT_EQ(as<GetAdcStateJob>(job).getJobResult().active_gain_indexes, (std::vector<int>{0, 1, 2}));
         }},
        {"reenumerate_hardware", make<ReenumerateHardwareJob>(JobOptions{}), startOf("reenumerate_hardware", "{}")},
        {"reboot", make<RebootJob>(Parameterless{}, JobOptions{}), startOf("reboot", "{}")},
        {"initialize_rtc",
         make<InitializeRtcJob>(Parameterless{}, std::map<std::string, std::string>{{"k", "v"}}, JobOptions{}),
         R"({"do":"/job/start","job":{"type":"initialize_rtc","parameters":{},"stop_conditions":[],)"
         R"("job_meta":{"k":"v"}}})"},
        {"get_date_time", make<GetDateTimeJob>(Parameterless{}, JobOptions{}), startOf("get_date_time", "{}"),
         R"({"datetime":"2025-01-01T00:00:00"})",
         [](const AbstractMeasurementJob& job) {
             EXPECT_EQ(as<GetDateTimeJob>(job).getJobResult(), "2025-01-01T00:00:00");
         }},
        {"set_date_time", make<SetDateTimeJob>(SetDateTimeParameters{"2025-06-30T12:00:00"}, JobOptions{}),
         startOf("set_date_time", R"({"datetime":"2025-06-30T12:00:00"})")},
        {"set_firmware_update", make<SetFirmwareUpdateJob>(SetFirmwareUpdateParameters{"res-7"}, JobOptions{}),
         startOf("set_firmware_update", R"({"resource_id":"res-7"})")},
    };
}

// The session keeps its own waits, as in a program.
class ControlJobRun : public ConnectedSession {
protected:
    ControlJobRun() : ConnectedSession(ConnectedSessionTimings::sessionDefaults()) {}

    json::object lastStartWithoutId()
    {
        auto starts = router().requests("/job/start");
        if (starts.empty()) {
            ADD_FAILURE() << "no job was started";
            return {};
        }
        json::object request = starts.back();
        EXPECT_EQ(request.at("request_id").as_string().size(), 36u);
        request.erase("request_id");
        return request;
    }
};

TEST_F(ControlJobRun, EveryKindSendsItsRequestAndReadsItsResult)
{
    for (const RequestRow& row : rows()) {
        SCOPED_TRACE(row.type);
        std::optional<json::value> result;
        if (row.result) {
            result = json::parse(*row.result);
        }
        router().setJobScript(row.type, FakeControlJobs::finished(result));
        const auto job = row.make();
        EXPECT_EQ(job->getName(), row.type);

        const ErrorObject outcome = session->doJob(*job);

        EXPECT_EQ(outcome.getErrorCodeEnum(), ErrorCodeEnum::NONE);
        EXPECT_TRUE(job->wasSuccessful());
        EXPECT_EQ(job->getLastJobInfo().jobId.substr(0, 4), "job-");
        EXPECT_EQ(json::serialize(lastStartWithoutId()), canonical(row.request));
        if (row.checkResult) {
            row.checkResult(*job);
        }
    }
    EXPECT_EQ(router().requests("/job/start").size(), rows().size());
}

// A result the job cannot read fails the run with the reason; the session
// goes on serving jobs.
TEST_F(ControlJobRun, UnreadableResultFailsTheJobAndKeepsTheStoredResult)
{
    router().setJobScript("switch_on", FakeControlJobs::finished(
                                            json::parse(R"({"applied_bias":1.5,"voltage":true,"current":0.0})")));
    router().setJobScript("get_adc_state",
                          FakeControlJobs::finished(json::parse(R"({"active_gain_indexes":[3000000000]})")));
    SwitchOnJob switchOn(SwitchOnParameters{POT}, JobOptions{});
    GetAdcStateJob adcState(GetAdcStateParameters{"ZMU:1:ADC"}, JobOptions{});

    for (AbstractMeasurementJob* job : std::initializer_list<AbstractMeasurementJob*>{&switchOn, &adcState}) {
        SCOPED_TRACE(job->getName());
        const ErrorObject outcome = session->doJob(*job);
        EXPECT_EQ(outcome.getErrorCodeEnum(), ErrorCodeEnum::JSON_MALFORMED);
        EXPECT_EQ(job->getLastJobStatus(), JobStatusEnum::FAILED);
        EXPECT_EQ(job->getLastJobInfo().statusDetail, JobStatusDetailEnum::RUNTIME_ERROR);
        EXPECT_EQ(job->getLastJobInfo().jobId.substr(0, 4), "job-") << "the workstation's information stays";
        EXPECT_NE(job->getLastJobErrorMessage().find(job == &switchOn ? "not a number" : "not exact"),
                  std::string::npos)
            << job->getLastJobErrorMessage();
    }
    EXPECT_EQ(switchOn.getJobResult(), SwitchOnInfo{});
    EXPECT_TRUE(adcState.getJobResult().active_gain_indexes.empty());

    router().setJobScript("switch_on", FakeControlJobs::finished(FakeControlJobs::sampleResult("switch_on")));
    EXPECT_EQ(session->doJob(switchOn).getErrorCodeEnum(), ErrorCodeEnum::NONE);
    EXPECT_EQ(switchOn.getJobResult(), (SwitchOnInfo{1.5, 1.5, 0.0625}));
}

// A run that ends without a "result" (here a refused start, which the
// library ends itself) keeps what the previous run reported.
TEST_F(ControlJobRun, RunWithoutResultKeepsThePreviousResult)
{
    router().setJobScript("get_date_time", FakeControlJobs::finished(FakeControlJobs::sampleResult("get_date_time")));
    GetDateTimeJob job(Parameterless{}, JobOptions{});
    ASSERT_EQ(session->doJob(job).getErrorCodeEnum(), ErrorCodeEnum::NONE);

    router().setJobScript("get_date_time", FakeJobScript().replyToStart(FakeJobScript::StartReply::Failed));
    EXPECT_NE(session->doJob(job).getErrorCodeEnum(), ErrorCodeEnum::NONE);
    EXPECT_EQ(job.getLastJobInfo().statusDetail, JobStatusDetailEnum::FAILED_TO_CREATE);
    EXPECT_EQ(job.getJobResult(), "2025-01-01T00:00:00");

    router().setJobScript("get_date_time", FakeControlJobs::finished());
    EXPECT_EQ(session->doJob(job).getErrorCodeEnum(), ErrorCodeEnum::NONE);
    EXPECT_EQ(job.getJobResult(), "2025-01-01T00:00:00");
}

// The workstation's final job information names the job and repeats its
// parameters: the job's last job information holds them typed again.
TEST_F(ControlJobRun, FinalJobInformationCarriesTheParametersTyped)
{
    const SwitchOnParameters sent{POT, PotentiostatCoupling::GALVANOSTATIC, -0.5, 1, 2};
    SwitchOnJob job(sent, JobOptions{});
    router().setJobScript("switch_on", FakeJobScript().jobDoneWithInfo(
                                           json::object{{"status", "FINISHED"},
                                                        {"status_detail", "RUN_TO_COMPLETION"},
                                                        {"type", "switch_on"},
                                                        {"parameters", job.getParameterObject()}},
                                           FakeControlJobs::sampleResult("switch_on")));

    EXPECT_EQ(session->doJob(job).getErrorCodeEnum(), ErrorCodeEnum::NONE);

    const auto* parameters =
        dynamic_cast<const SerializableParameterStruct<SwitchOnParameters>*>(job.getLastJobInfo().parameters.get());
    ASSERT_NE(parameters, nullptr);
    EXPECT_EQ(parameters->getRecord(), sent);
    EXPECT_EQ(job.getJobResult(), (SwitchOnInfo{1.5, 1.5, 0.0625}));
}

// Through the public link, as a program uses it: a query and a command.
TEST(ControlJobEndToEnd, QueryAndCommandThroughTheLink)
{
    FakeWorkstation workstation;
    FakeControlJobs::scriptAll(workstation.router());
    MarlekLink link("127.0.0.1", workstation.port());
    ASSERT_EQ(link.connect().getErrorCodeEnum(), ErrorCodeEnum::NONE);

    GetHardwarePropertyJob query(GetHardwarePropertyParameters{"MUX16:1", "MUX_CHANNEL"}, JobOptions{});
    EXPECT_EQ(query.getJobResult(), HardwarePropertyValue(false));
    EXPECT_EQ(link.doJob(query).getErrorCodeEnum(), ErrorCodeEnum::NONE);
    EXPECT_EQ(query.getLastJobStatus(), JobStatusEnum::FINISHED);
    EXPECT_EQ(query.getJobResult(), HardwarePropertyValue(3));

    SetLedColorJob command(SetLedColorParameters{12, 34, 56}, JobOptions{});
    EXPECT_EQ(link.doJob(command).getErrorCodeEnum(), ErrorCodeEnum::NONE);
    EXPECT_EQ(command.getLastJobStatus(), JobStatusEnum::FINISHED);
    EXPECT_EQ(command.getLastJobInfo().jobId, "job-0002");

    const auto starts = workstation.router().requests("/job/start");
    ASSERT_EQ(starts.size(), 2u);
    EXPECT_EQ(json::serialize(starts[1].at("job")),
              canonical(R"({"type":"set_led_color","parameters":{"red":12,"green":34,"blue":56},)"
                        R"("stop_conditions":[],"job_meta":{}})"));
    link.disconnect();
}

} // namespace
