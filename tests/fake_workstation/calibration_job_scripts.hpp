#pragma once
// Scripted workstation answers to the calibration and service jobs: the
// events and the JOB_DONE "result" the workstation sends for each. Jobs
// without a result end with FakeControlJobs::finished().

#include "fake_workstation/fake_job_script.hpp"

#include <boost/json/array.hpp>
#include <boost/json/object.hpp>
#include <boost/json/value.hpp>

#include <string_view>

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

} // namespace fake_workstation
