#include "calibration_test_support.hpp"

#include "support/connected_session.hpp"

#include "fake_workstation/calibration_job_scripts.hpp"
#include "fake_workstation/fake_control_jobs.hpp"
#include "fake_workstation/fake_job_script.hpp"
#include "fake_workstation/fake_workstation.hpp"
#include "fake_workstation/inbox.hpp"
#include "marlek_link_json/jobs/ac/live_data/aclivedatamessage.hpp"
#include "marlek_link_json/link_json_session.hpp"
#include "marlek_link_json/link_ll_session_flags.hpp"

#include <chrono>
#include <memory>

namespace {

using namespace std::chrono_literals;
using fake_workstation::Inbox;

const ErrorObject NO_ERROR{ErrorCodeEnum::NONE, "no error occoured"};

// What an impedance callback saw of one message; the message's own data
// live only during the call.
struct AcSeen {
    AcLiveDataMessageKind kind;
    LiveDataHeaderEis header;
    LiveDataRowEis row;
    LiveDataWavesEis waves;
};

AcMeasurementJobFeatures::Callback recordInto(Inbox<AcSeen>& inbox)
{
    return [&inbox](const AcLiveDataMessage& message) {
        inbox.push({message.kind, *message.header, *message.row, *message.waves});
    };
}

// The session keeps its own waits, as in a program.
class CalibrationRunTest : public ConnectedSession {
protected:
    CalibrationRunTest() : ConnectedSession(ConnectedSessionTimings::sessionDefaults()) {}

    // The one "/job/start" request the fake has seen, without its random
    // "request_id".
    std::string onlyStartRequest()
    {
        auto starts = workstation.router().requests("/job/start");
        EXPECT_EQ(starts.size(), 1u);
        if (starts.empty()) {
            return {};
        }
        EXPECT_EQ(starts.front().at("request_id").as_string().size(), 36u);
        starts.front().erase("request_id");
        return json::serialize(starts.front());
    }
};

TEST_F(CalibrationRunTest, CalibrateDeliversImpedanceLiveData)
{
    workstation.router().setJobScript(fake_workstation::calibrateScript());
    Inbox<AcSeen> seen;
    CalibrateJob job(CalibrateParameters{CalibrationTypesEnum::MAIN_SHUNT_LOAD, "MAIN:1:POT", {2}, {"MAIN:1:POT:U"}});
    job.addLivedataEventHandler(recordInto(seen));

    EXPECT_EQ(session->doJob(job), NO_ERROR);

    EXPECT_EQ(onlyStartRequest(),
              canonical(R"({"do":"/job/start","job":{"type":"calibrate","parameters":{)"
                        R"("calibration_type":"main_shunt_load","calibration_path":"MAIN:1:POT","indexes":[2],)"
                        R"("paths":["MAIN:1:POT:U"]},"stop_conditions":[],"job_meta":{}}})"));
    const auto messages = seen.snapshot();
    ASSERT_EQ(messages.size(), 4u);
    EXPECT_EQ(messages[0].kind, AcLiveDataMessageKind::HEADER);
    EXPECT_EQ(messages[0].header.getShortMeasurementType(), "CAL");
    ASSERT_EQ(messages[0].header.getImpedances().size(), 1u);
    EXPECT_EQ(messages[0].header.getImpedances()[0].getImpedanceName(), "shunt");
    EXPECT_EQ(messages[1].kind, AcLiveDataMessageKind::ROW);
    EXPECT_EQ(messages[1].row.getImpedances(), (std::vector<std::vector<double>>{{1000.5, -0.25}}));
    EXPECT_EQ(messages[1].row.getPathsWaves(), (std::vector<std::vector<double>>{{0.5, -0.5}, {1.0, -1.0}}));
    EXPECT_EQ(messages[1].row.getMeta(), (std::vector<double>{10000.0, 16.0}));
    EXPECT_EQ(messages[1].header, messages[0].header);
    EXPECT_EQ(messages[2].kind, AcLiveDataMessageKind::WAVES);
    EXPECT_EQ(messages[2].waves.getWaves(), (std::vector<std::vector<double>>{{0.25}, {2.0}}));
    EXPECT_EQ(messages[2].waves.getOffset(), 2u);
    EXPECT_EQ(messages[3].kind, AcLiveDataMessageKind::FINISHED);
    EXPECT_EQ(job.getLastJobInfo().jobId, "job-0001");
    EXPECT_TRUE(job.wasSuccessful());
}

TEST_F(CalibrationRunTest, FailedCalibrationPassesTheWorkstationsError)
{
    const ErrorObject refused(ErrorCodeEnum::CALIBRATION_NO_SETTINGS, "no calibration settings for {0}", "XPC:1");
    workstation.router().setJobScript(FakeJobScript().jobDone("FAILED", "RUNTIME_ERROR", refused));
    CalibrateJob job(CalibrateParameters{CalibrationTypesEnum::DC, "XPC:1", {}, {}});

    EXPECT_EQ(session->doJob(job), refused);
    EXPECT_EQ(job.getLastJobErrorMessage(), "no calibration settings for XPC:1");
    EXPECT_FALSE(job.wasSuccessful());
}

TEST_F(CalibrationRunTest, SetCalibrationDataSendsTheDataObject)
{
    workstation.router().setJobScript(FakeControlJobs::finished());
    Inbox<AcSeen> seen;
    SetCalibrationDataJob job(
        SetCalibrationDataParameters{"gain", "ZMU4:1", {0, 1}, "float_vector", 0.0, {1.5, -2.0}, {}, ""},
        recordInto(seen), {{"operator", "lab 3"}});

    EXPECT_EQ(session->doJob(job), NO_ERROR);

    EXPECT_EQ(onlyStartRequest(),
              canonical(R"({"do":"/job/start","job":{"type":")" + SERVICE_PREFIX +
                        R"(set_calibration_data","parameters":{"calibration_type":"gain","calibration_path":"ZMU4:1",)"
                        R"("indexes":[0,1],"data":{"type":"float_vector","value":[1.5,-2.0]}},)"
                        R"("stop_conditions":[],"job_meta":{"operator":"lab 3"}}})"));
    EXPECT_TRUE(seen.snapshot().empty());
    EXPECT_TRUE(job.wasSuccessful());
}

TEST_F(CalibrationRunTest, GetCalibrationDataReadsTheItem)
{
    workstation.router().setJobScript(fake_workstation::calibrationDataScript(
        json::parse(R"({"type":"spectra","value":{"1.000000000000000e+02":{"real":0.5,"imag":-0.125}}})")));
    GetCalibrationDataJob job(GetCalibrationDataParameters{"filter", "MAIN:1:POT", {4}}, JobOptions{});

    EXPECT_EQ(session->doJob(job), NO_ERROR);

    EXPECT_EQ(onlyStartRequest(),
              canonical(R"({"do":"/job/start","job":{"type":")" + SERVICE_PREFIX +
                        R"(get_calibration_data","parameters":{"calibration_type":"filter",)"
                        R"("calibration_path":"MAIN:1:POT","indexes":[4]},"stop_conditions":[],"job_meta":{}}})"));
    EXPECT_EQ(job.getCalibrationDataType(), CalibrationDataTypeEnum::SPECTRA);
    EXPECT_EQ(job.getSpectraData(), (SpectrumMap{{100.0, {0.5, -0.125}}}));
}

TEST_F(CalibrationRunTest, UnreadableCalibrationDataFailsTheRun)
{
    workstation.router().setJobScript(
        fake_workstation::calibrationDataScript(json::parse(R"({"type":"float","value":2})")));
    GetCalibrationDataJob job(GetCalibrationDataParameters{"filter", "MAIN:1:POT", {4}}, JobOptions{});

    const ErrorObject error = session->doJob(job);

    EXPECT_EQ(error.getErrorCodeEnum(), ErrorCodeEnum::JSON_MALFORMED);
    EXPECT_FALSE(job.wasSuccessful());
    EXPECT_EQ(job.getCalibrationDataType(), CalibrationDataTypeEnum::UNDEFINED);
    EXPECT_TRUE(std::isnan(job.getFloatData()));
}

TEST_F(CalibrationRunTest, MeshFileComesBackWholeDespiteLineBreaks)
{
    workstation.router().setJobScript(fake_workstation::meshFileScript("eyJtZXNoIjpb\r\nMSwyXX0=\r\n"));
    GetMeshJsonFileJob job(AbstractMeasurementJob::Parameterless{}, JobOptions{true, false});

    EXPECT_EQ(session->doJob(job), NO_ERROR);

    EXPECT_EQ(onlyStartRequest(),
              canonical(R"({"do":"/job/start","job":{"type":")" + SERVICE_PREFIX +
                        R"(get_mesh_json_file","parameters":{},"stop_conditions":[],"job_meta":{}},)"
                        R"("bypass_queue":true})"));
    EXPECT_EQ(job.getJobResult(), bytesOf(R"({"mesh":[1,2]})"));
}

TEST_F(CalibrationRunTest, CorruptMeshFileFailsTheRunAndNamesTheReason)
{
    workstation.router().setJobScript(fake_workstation::meshFileScript("eyJtZXNoIjpb-MSwyXX0="));
    GetMeshJsonFileJob job(AbstractMeasurementJob::Parameterless{}, JobOptions{});

    const ErrorObject error = session->doJob(job);

    EXPECT_EQ(error.getErrorCodeEnum(), ErrorCodeEnum::RESOURCE_CONTENT_INVALID);
    EXPECT_EQ(job.getLastJobInfo().status, JobStatusEnum::FAILED);
    EXPECT_NE(job.getLastJobErrorMessage().find("resource content invalid: Failed to decode file content: invalid base64 byte 0x2d at offset 12"),
              std::string::npos)
        << job.getLastJobErrorMessage();
    EXPECT_TRUE(job.getJobResult().empty());
}

TEST_F(CalibrationRunTest, SetMeshFileNamesTheResource)
{
    workstation.router().setJobScript(FakeControlJobs::finished());
    SetMeshJsonFileJob job(SetMeshJsonFileParameters{"res-12"}, {{"why", "new mesh"}}, JobOptions{});

    EXPECT_EQ(session->doJob(job), NO_ERROR);

    EXPECT_EQ(onlyStartRequest(),
              canonical(R"({"do":"/job/start","job":{"type":")" + SERVICE_PREFIX +
                        R"(set_mesh_json_file","parameters":{"resource_id":"res-12"},"stop_conditions":[],)"
                        R"("job_meta":{"why":"new mesh"}}})"));
    EXPECT_TRUE(job.wasSuccessful());
}

TEST_F(CalibrationRunTest, MeasureIntegralReturnsTheValue)
{
    workstation.router().setJobScript(fake_workstation::integralScript(1.25e-3));
    MeasureIntegralJob job(MeasureIntegralParameters{"MAIN:1:POT:I", 0.3}, JobOptions{});

    EXPECT_EQ(session->doJob(job), NO_ERROR);

    EXPECT_EQ(onlyStartRequest(),
              canonical(R"({"do":"/job/start","job":{"type":"measure_integral","parameters":{)"
                        R"("channel":"MAIN:1:POT:I","duration":0.3},"stop_conditions":[],"job_meta":{}}})"));
    EXPECT_EQ(job.getJobResult(), 1.25e-3);
}

TEST_F(CalibrationRunTest, MeasureIntegralWithoutResultStaysNan)
{
    const ErrorObject lost(ErrorCodeEnum::UNKNOWN_ERR, "no signal");
    workstation.router().setJobScript(FakeJobScript().jobDone("FAILED", "RUNTIME_ERROR", lost));
    MeasureIntegralJob job(MeasureIntegralParameters{"voltage", 1.0}, JobOptions{});

    EXPECT_EQ(session->doJob(job), lost);
    EXPECT_TRUE(std::isnan(job.getJobResult()));
}

TEST_F(CalibrationRunTest, FilterUsageMatrixReadsThePairs)
{
    workstation.router().setJobScript(
        fake_workstation::filterUsageScript(json::array{json::array{0, 3}, json::array{2, 1}}));
    GetFilterUsageMatrixJob job(GetFilterUsageMatrixParameters{"ZMU4:1:CH2"}, JobOptions{});

    EXPECT_EQ(session->doJob(job), NO_ERROR);

    EXPECT_EQ(onlyStartRequest(),
              canonical(R"({"do":"/job/start","job":{"type":")" + SERVICE_PREFIX +
                        R"(get_filter_usage_matrix","parameters":{"zmu4_path":"ZMU4:1:CH2"},"stop_conditions":[],)"
                        R"("job_meta":{}}})"));
    EXPECT_EQ(job.getJobResult().matrix, (std::vector<std::pair<std::uint64_t, std::uint64_t>>{{0, 3}, {2, 1}}));
}

} // namespace

namespace {

// One connection, every calibration and service job after the other, each
// answered by the script of its own type.
TEST_F(CalibrationRunTest, EveryJobRunsEndToEndOnOneConnection)
{
    fake_workstation::scriptCalibrationJobs(workstation.router());

    Inbox<AcSeen> seen;
    CalibrateJob calibrate(CalibrateParameters{CalibrationTypesEnum::DC, "MAIN:1:POT", {}, {}});
    calibrate.addLivedataEventHandler(recordInto(seen));
    SetCalibrationDataJob setData(SetCalibrationDataParameters{"dc", "MAIN:1:POT", {0}, "string", 0.0, {}, {}, "v1"});
    GetCalibrationDataJob getData(GetCalibrationDataParameters{"dc", "MAIN:1:POT", {0}}, JobOptions{});
    GetMeshJsonFileJob getMesh(AbstractMeasurementJob::Parameterless{}, JobOptions{});
    SetMeshJsonFileJob setMesh(SetMeshJsonFileParameters{"res-1"}, JobOptions{});
    MeasureIntegralJob integral(MeasureIntegralParameters{"current", 0.3}, JobOptions{});
    GetFilterUsageMatrixJob filters(GetFilterUsageMatrixParameters{"ZMU4:1"}, JobOptions{});

    const std::vector<AbstractMeasurementJob*> jobs{&calibrate, &setData, &getData, &getMesh,
                                                     &setMesh,    &integral, &filters};
    for (auto* job : jobs) {
        EXPECT_EQ(session->doJob(*job), NO_ERROR) << job->getName();
        EXPECT_TRUE(job->wasSuccessful()) << job->getName();
    }

    const auto starts = workstation.router().requests("/job/start");
    ASSERT_EQ(starts.size(), jobs.size());
    for (std::size_t i = 0; i < jobs.size(); ++i) {
        EXPECT_EQ(starts[i].at("job").at("type").as_string(), jobs[i]->getName());
        EXPECT_EQ(json::serialize(starts[i].at("job").at("parameters")),
                  json::serialize(jobs[i]->getParameterObject()));
        EXPECT_EQ(jobs[i]->getLastJobInfo().jobId, "job-000" + std::to_string(i + 1));
    }
    EXPECT_EQ(seen.snapshot().size(), 4u);
    EXPECT_EQ(getData.getCalibrationDataType(), CalibrationDataTypeEnum::FLOAT_VECTOR);
    EXPECT_EQ(getData.getFloatVectorData(), (std::vector<double>{0.5, 1.5}));
    EXPECT_EQ(getMesh.getJobResult(), bytesOf(fake_workstation::SAMPLE_MESH_FILE));
    EXPECT_EQ(integral.getJobResult(), fake_workstation::SAMPLE_INTEGRAL);
    EXPECT_EQ(filters.getJobResult().matrix, (std::vector<std::pair<std::uint64_t, std::uint64_t>>{{0, 1}, {1, 0}}));
}

} // namespace
