#include "fake_workstation/calibration_job_scripts.hpp"

#include "fake_workstation/fake_control_jobs.hpp"
#include "fake_workstation/fake_request_router.hpp"

#include <boost/json.hpp>

#include <string>
#include <utility>

namespace fake_workstation {

namespace {

const ErrorObject NO_ERROR{ErrorCodeEnum::NONE, "no error occoured"};

boost::json::object parsed(std::string_view text)
{
    return boost::json::parse(text).as_object();
}

} // namespace

boost::json::object calibrationHeaderEvent()
{
    return parsed(R"({"type":"LIVE_DATA_HEADER_EIS","header":{"measurement_type":"Calibration",)"
                  R"("measurement_type_short":"CAL",)"
                  R"("impedances":[{"paths":{"numerator":"MAIN:1:POT:U","denominator":"MAIN:1:POT:I"},)"
                  R"("impedance_name":"shunt","dimensions":["real","imaginary"],"units":["Ohm","Ohm"]}],)"
                  R"("paths":[{"name":"voltage","dimensions":["real","imaginary"],"polynomial":[0,1],)"
                  R"("units":["V","V"],"uri":"MAIN:1:POT:U"},{"name":"current","dimensions":["real","imaginary"],)"
                  R"("polynomial":[0,1],"units":["A","A"],"uri":"MAIN:1:POT:I"}],)"
                  R"("async_paths":[],"potentiostats":[],)"
                  R"("meta":{"dimensions":["frequency","periods"],"units":["Hz",""]}},)"
                  R"("job_info":{"status":"RUNNING"}})");
}

boost::json::object calibrationRowEvent()
{
    return parsed(R"({"type":"LIVE_DATA_ROW_EIS","impedances":[[1000.5,-0.25]],)"
                  R"("paths":[[0.01,0.0],[1e-5,2.5e-9]],"paths_waves":[[0.5,-0.5],[1,-1]],)"
                  R"("async_paths":[],"potentiostats":[],"meta":[10000,16]})");
}

boost::json::object calibrationWavesEvent()
{
    return parsed(R"({"type":"LIVE_DATA_WAVES","paths_waves":[[0.25],[2]],"offset":2,"full_wave_size":3})");
}

FakeJobScript calibrateScript()
{
    return FakeJobScript()
        .event(parsed(R"({"type":"JOB_STATUS_UPDATE","new_status":"RUNNING","job_info":{"status":"RUNNING"}})"))
        .event(calibrationHeaderEvent())
        .event(calibrationRowEvent())
        .event(calibrationWavesEvent())
        .event(parsed(R"({"type":"LIVE_DATA_FINISHED","job_info":{"status":"RUNNING"}})"))
        .jobDone("FINISHED", "RUN_TO_COMPLETION", NO_ERROR);
}

FakeJobScript calibrationDataScript(boost::json::value data)
{
    return FakeControlJobs::finished(boost::json::object{{"data", std::move(data)}});
}

FakeJobScript meshFileScript(std::string_view content)
{
    return FakeControlJobs::finished(
        boost::json::object{{"file", boost::json::object{{"name", "mesh.json"}, {"content", content}}}});
}

FakeJobScript integralScript(boost::json::value value)
{
    return FakeControlJobs::finished(boost::json::object{{"value", std::move(value)}});
}

FakeJobScript filterUsageScript(boost::json::array matrix)
{
    return FakeControlJobs::finished(boost::json::object{{"matrix", std::move(matrix)}});
}

void scriptCalibrationJobs(FakeRequestRouter& router)
{
    const std::string service = "\xF0\x9F\x9B\xA0\xEF\xB8\x8F/";
    router.setJobScript("calibrate", calibrateScript());
    router.setJobScript(service + "set_calibration_data", FakeControlJobs::finished());
    router.setJobScript(service + "get_calibration_data",
                        calibrationDataScript(boost::json::parse(SAMPLE_CALIBRATION_DATA)));
    router.setJobScript(service + "get_mesh_json_file", meshFileScript(SAMPLE_MESH_CONTENT));
    router.setJobScript(service + "set_mesh_json_file", FakeControlJobs::finished());
    router.setJobScript("measure_integral", integralScript(SAMPLE_INTEGRAL));
    router.setJobScript(service + "get_filter_usage_matrix",
                        filterUsageScript(boost::json::array{boost::json::array{0, 1}, boost::json::array{1, 0}}));
}

} // namespace fake_workstation
