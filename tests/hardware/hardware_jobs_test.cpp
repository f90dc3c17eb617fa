#include "hardware_fixtures.hpp"
#include "job_completion.hpp"

#include "fake_workstation/fake_control_jobs.hpp"
#include "fake_workstation/fake_hardware_answers.hpp"
#include "fake_workstation/fake_workstation.hpp"
#include "marlek_link/marlek_link.hpp"
#include "marlek_link_json/jobs/control/hardware_info/hardware_info_json.hpp"
#include "marlek_link_json/jobs/control/hardware_settings/hardware_settings_helper.hpp"
#include "marlek_link_json/jobs/control/hardware_settings/hardware_settings_json.hpp"
#include "marlek_link_json/jobs/control/jobs/get_hardware_info/get_hardware_infojob.hpp"
#include "marlek_link_json/jobs/control/jobs/get_hardware_settings/get_hardware_settingsjob.hpp"
#include "marlek_link_json/jobs/control/jobs/get_potentiostat_state/get_potentiostat_statejob.hpp"
#include "marlek_link_json/jobs/control/jobs/set_hardware_settings/set_hardware_settingsjob.hpp"

#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <boost/json.hpp>

#include <chrono>
#include <memory>

using namespace std::chrono_literals;
namespace json = boost::json;

class HardwareJobs : public ::testing::Test {
protected:
    void SetUp() override
    {
        link = std::make_unique<MarlekLink>("127.0.0.1", workstation.port());
        ASSERT_EQ(link->connect().getErrorCodeEnum(), ErrorCodeEnum::NONE);
    }

    void TearDown() override { link.reset(); }

    json::object lastStart()
    {
        const auto starts = workstation.router().requests("/job/start");
        EXPECT_FALSE(starts.empty());
        return starts.empty() ? json::object{} : starts.back();
    }

    FakeWorkstation workstation;
    std::unique_ptr<MarlekLink> link;
};

TEST_F(HardwareJobs, GetHardwareInfoReadsTheDeviceTree)
{
    FakeControlJobs::scriptAll(workstation.router());
    GetHardwareInfoJob job(AbstractMeasurementJob::Parameterless{}, JobOptions{});
    ASSERT_EQ(link->doJob(job), ErrorObject());
    const auto start = lastStart();
    EXPECT_EQ(start.at("job").at("type"), "get_hardware_info");
    EXPECT_EQ(start.at("job").at("parameters"), json::object{});

    const auto info = job.getJobResult();
    EXPECT_EQ(info.workstation.serial_number, "354531");
    EXPECT_EQ(info.convertUrlToUrn("MAIN:1:POT"), "354531:POT");
    EXPECT_EQ(info.potentiostats.at(0).compliance_ranges, (std::vector<ComplianceRange>{{0, 14.0}}));
    EXPECT_EQ(info.cards.at(0).name, "ZMU");
}

TEST_F(HardwareJobs, SetHardwareSettingsSendsTheConfiguration)
{
    FakeControlJobs::scriptAll(workstation.router());
    const auto user = HardwareSettingsHelper::getConfigForMainWithSyncVoltageChannel({{1, 1, {}, "", ""}});
    SetHardwareSettingsJob job(
        SetHardwareSettingsParameters{user.channels, user.impedance_configurations, user.output_potentiostats},
        JobOptions{});
    ASSERT_EQ(link->doJob(job), ErrorObject());
    const auto start = lastStart();
    EXPECT_EQ(start.at("job").at("type"), "set_hardware_settings");
    const auto& parameters = start.at("job").at("parameters").as_object();
    ASSERT_EQ(parameters.size(), 3U);
    EXPECT_EQ(parameters.begin()[0].key(), "output_potentiostats");
    EXPECT_EQ(parameters.begin()[1].key(), "channels");
    EXPECT_EQ(parameters.begin()[2].key(), "impedance_configurations");
    EXPECT_EQ(json::value_to<SetHardwareSettingsParameters>(json::value(parameters)), job.getParameters());
    EXPECT_EQ(parameters.at("channels").as_array().size(), 3U);
}

TEST_F(HardwareJobs, GetHardwareSettingsReadsTheAdoptedSettings)
{
    FakeControlJobs::scriptAll(workstation.router());
    GetHardwareSettingsJob job(AbstractMeasurementJob::Parameterless{}, JobOptions{});
    ASSERT_EQ(link->doJob(job), ErrorObject());
    EXPECT_EQ(lastStart().at("job").at("type"), "get_hardware_settings");
    const auto settings = job.getJobResult();
    const auto expected = HardwareSettingsHelper::getConfigForMainPotentiostat();
    EXPECT_EQ(settings.sync_channels, expected.channels);
    EXPECT_EQ(settings.impedance_configurations, expected.impedance_configurations);
    EXPECT_TRUE(settings.async_channels.empty());
    EXPECT_EQ(settings.output_potentiostats, expected.output_potentiostats);
}

TEST_F(HardwareJobs, RefusedStartKeepsThePreviousResult)
{
    FakeControlJobs::scriptAll(workstation.router());
    GetHardwareInfoJob job(AbstractMeasurementJob::Parameterless{}, JobOptions{});
    ASSERT_EQ(link->doJob(job), ErrorObject());
    const auto first = job.getJobResult();

    workstation.router().setJobScript("get_hardware_info",
                                      FakeJobScript().replyToStart(FakeJobScript::StartReply::Failed));
    EXPECT_NE(link->doJob(job), ErrorObject());
    EXPECT_FALSE(job.wasSuccessful());
    EXPECT_EQ(job.getJobResult(), first);
}

// A result that does not read fails the run; the job keeps its previous
// result.
TEST_F(HardwareJobs, UnreadableResultFailsTheRun)
{
    auto broken = fake_workstation::hardwareInfoResult();
    broken.erase("cards");
    workstation.router().setJobScript(FakeControlJobs::finished(boost::json::value(broken)));
    GetHardwareInfoJob job(AbstractMeasurementJob::Parameterless{}, JobOptions{});
    EXPECT_NE(link->doJob(job), ErrorObject());
    EXPECT_FALSE(job.wasSuccessful());
    EXPECT_EQ(job.getJobResult(), HardwareInfo{});
}

TEST_F(HardwareJobs, GetPotentiostatStateReadsTheState)
{
    FakeControlJobs::scriptAll(workstation.router());
    GetPotentiostatStateJob job(GetPotentiostatStateParameters{"XPC:1:EXT2:POT"}, JobOptions{});
    ASSERT_EQ(link->doJob(job), ErrorObject());
    const auto start = lastStart();
    EXPECT_EQ(start.at("job").at("type"), "get_potentiostat_state");
    EXPECT_EQ(json::serialize(start.at("job").at("parameters")), R"({"potentiostat":"XPC:1:EXT2:POT"})");
    const PotentiostatState expected{true, true, 0.001, PotentiostatCoupling::GALVANOSTATIC, 1, 0, 3, 2, 0.02, 0.005,
                                     {1, 2, 3}, {0, 2}};
    EXPECT_EQ(job.getJobResult(), expected);
}

TEST(HardwareJobResults, ResultMemberRules)
{
    GetHardwareInfoJob info(AbstractMeasurementJob::Parameterless{}, JobOptions{});
    EXPECT_EQ(info.getJobResult(), HardwareInfo{});
    EXPECT_EQ(info.getJobResult().workstation.mode, WorkstationModeEnum::NORMAL);
    info.processJobResult(completion(parsedTree(kFullTree)));
    const auto full = info.getJobResult();
    EXPECT_EQ(full.cards.size(), 5U);
    for (const auto* result : {"null", "[]", "3"}) {
        info.processJobResult(completion(json::parse(result)));
        EXPECT_EQ(info.getJobResult(), full) << result;
    }
    info.processJobResult({{"type", "JOB_DONE"}});
    EXPECT_EQ(info.getJobResult(), full);
    info.processJobResult(completion(parsedTree(kSmallTree)));
    EXPECT_EQ(info.getJobResult().cards.size(), 0U);

    // Copies are independent of the job and of each other.
    auto copy = info.getJobResult();
    copy.paths.clear();
    EXPECT_EQ(info.getJobResult().paths.size(), 2U);

    GetHardwareSettingsJob settings(AbstractMeasurementJob::Parameterless{}, JobOptions{});
    EXPECT_EQ(settings.getJobResult(), HardwareSettings{});
    settings.processJobResult(completion(fake_workstation::hardwareSettingsResult()));
    const auto adopted = settings.getJobResult();
    EXPECT_EQ(adopted.sync_channels.size(), 2U);
    auto missing = fake_workstation::hardwareSettingsResult();
    missing.erase("async_channels");
    EXPECT_THROW(settings.processJobResult(completion(missing)), boost::system::system_error);
    EXPECT_EQ(settings.getJobResult(), adopted);
}

TEST(HardwareJobParameters, SetHardwareSettingsHasJsonOnly)
{
    SetHardwareSettingsJob job(SetHardwareSettingsParameters{}, JobOptions{});
    EXPECT_EQ(json::serialize(job.getParameterObject()),
              R"({"output_potentiostats":[],"channels":[],"impedance_configurations":[]})");
    tinyxml2::XMLDocument document;
    MXml::XmlSerializer serializer{&document, nullptr};
    SerializableParameterStruct<SetHardwareSettingsParameters>(job.getParameters()).acceptSerializer(serializer);
    EXPECT_EQ(serializer.element, nullptr);
}
