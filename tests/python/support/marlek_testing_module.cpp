// _marlek_testing: makes core objects that Python code cannot make itself
// (error objects, job information as the workstation reports it, a job, a
// device tree and adopted hardware settings read from the JSON of their
// query results), so
// that the tests can check how _marlek_link presents them. It shares the
// binding library's registry with _marlek_link, which must be imported first.

#include "marlek_json_common/json_common/logging/error_object.hpp"
#include "marlek_link_json/jobs/common/jobinfo_json.hpp"
#include "marlek_link_json/jobs/control/hardware_info/hardware_info_json.hpp"
#include "marlek_link_json/jobs/control/hardware_settings/hardware_settings_json.hpp"
#include "marlek_link_json/jobs/dc/jobs/dcmeasurementjobs.hpp"

#include <boost/json/parse.hpp>
#include <boost/json/value_to.hpp>

#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace py = pybind11;

using CvJob = DcMeasurementJob<CvParameters, &JobNames::CV_JOB_NAME>;

PYBIND11_MODULE(_marlek_testing, m)
{
    m.def("error_object", [](std::uint64_t code, std::string message, std::vector<ErrorParameter> parameters) {
        return ErrorObject(static_cast<ErrorCodeEnum>(code), std::move(message), std::move(parameters));
    });
    m.def("job_info_from_json", [](const std::string& text) { return jobInfoFromJson(boost::json::parse(text)); });
    m.def("hardware_info_from_json",
          [](const std::string& text) { return boost::json::value_to<HardwareInfo>(boost::json::parse(text)); });
    m.def("hardware_settings_from_json",
          [](const std::string& text) { return boost::json::value_to<HardwareSettings>(boost::json::parse(text)); });
    m.def("cv_job", []() -> std::unique_ptr<AbstractMeasurementJob> {
        CvParameters cv;
        cv.first_vertex = 0.5;
        cv.second_vertex = -0.5;
        cv.scan_rate = 0.1;
        cv.output_data_rate = 10.0;
        cv.num_cycles = 1.0;
        return std::make_unique<CvJob>(cv);
    });
}
