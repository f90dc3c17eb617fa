#pragma once
// Scripted workstation answers to the calibration and service jobs: the
// events and the JOB_DONE "result" the workstation sends for each. Jobs
// without a result end with FakeControlJobs::finished().

#include "fake_workstation/fake_job_script.hpp"

#include <boost/json/array.hpp>
#include <boost/json/object.hpp>
#include <boost/json/value.hpp>

#include <string_view>

class FakeRequestRouter;

namespace fake_workstation {

// A calibration reporting like an impedance measurement: status RUNNING,
// the impedance header, one impedance row, one block of waves, live data
// finished, then a successful end.
FakeJobScript calibrateScript();

// The header, row and waves events of calibrateScript, for expectations.
boost::json::object calibrationHeaderEvent();
boost::json::object calibrationRowEvent();
boost::json::object calibrationWavesEvent();

// "result": {"data": data}, the completion of "get_calibration_data".
FakeJobScript calibrationDataScript(boost::json::value data);

// "result": {"file": {"name", "content"}}, the completion of
// "get_mesh_json_file".
FakeJobScript meshFileScript(std::string_view content);

// "result": {"value": value}, the completion of "measure_integral".
FakeJobScript integralScript(boost::json::value value);

// "result": {"matrix": matrix}, the completion of "get_filter_usage_matrix".
FakeJobScript filterUsageScript(boost::json::array matrix);

// Scripts every calibration and service job type: calibrateScript() for
// "calibrate", a plain successful end for the two set jobs, and for the
// readers the sample results below.
void scriptCalibrationJobs(FakeRequestRouter& router);

// The sample results of scriptCalibrationJobs.
inline constexpr std::string_view SAMPLE_CALIBRATION_DATA = R"({"type":"float_vector","value":[0.5,1.5]})";
inline constexpr std::string_view SAMPLE_MESH_CONTENT = "eyJtZXNoIjpb\nXX0=";
inline constexpr std::string_view SAMPLE_MESH_FILE = R"({"mesh":[]})";
inline constexpr double SAMPLE_INTEGRAL = 0.125;

} // namespace fake_workstation
