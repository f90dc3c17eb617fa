#pragma once

// Helpers for the job classes of control and calibration, on top of the job
// binding pattern (job_binding.hpp): these jobs are built without metadata
// and stop conditions, and the query jobs hand their result out as a copy.

#include "marlek_link_py/job_binding.hpp"

#include "marlek_json_common/json_common/jobs/joboptions.hpp"
#include "marlek_link_json/jobs/abstract_measurementjob.hpp"

#include <pybind11/pybind11.h>

#include <memory>
#include <string>
#include <string_view>

namespace control_binding {

namespace py = pybind11;

// A job without parameters that has no parameter class either: no
// `parameters` property, a constructor without arguments.
template <typename Job>
py::class_<Job, AbstractMeasurementJob> bindBareJob(py::module_& module, const char* name, const std::string& doc)
{
    py::class_<Job, AbstractMeasurementJob> cls(module, name);
    cls.def(py::init([] { return std::make_unique<Job>(AbstractMeasurementJob::Parameterless{}, JobOptions{}); }),
            doc.c_str());
    return cls;
}

// The parameter class of a job without parameters. The core shares one
// parameter object type among all such jobs, so each job gets a tag type of
// its own and its Python parameter class stays distinct.
template <typename Job>
struct NoParameters {};

// A job without parameters that has a parameter class without properties,
// named after the job as bindJobWithParameters names it; `parameters` reads
// an object of that class, and assigning one changes nothing (there is
// nothing to copy).
template <typename Job>
py::class_<Job, AbstractMeasurementJob> bindParameterlessJob(py::module_& module, std::string_view name,
                                                              const std::string& doc)
{
    const std::string parameterName = std::string(name.substr(0, name.rfind("Job"))) + "ParametersPy";
    py::class_<NoParameters<Job>>(module, parameterName.c_str());
    py::class_<Job, AbstractMeasurementJob> cls(module, std::string(name).c_str());
    cls.def(py::init([] { return std::make_unique<Job>(AbstractMeasurementJob::Parameterless{}, JobOptions{}); }),
            doc.c_str());
    cls.def_property(
        "parameters", [](const Job&) { return NoParameters<Job>{}; }, [](Job&, const NoParameters<Job>&) {},
        py::doc((std::string("object with the parameters that were passed to the constructor of type :class:`")
                 + job_binding::publicName(module, parameterName) + "`")
                    .c_str()));
    return cls;
}

// `get_job_result`: a new Python object holding a copy of the stored result.
template <typename Job>
void addJobResult(py::class_<Job, AbstractMeasurementJob>& cls, const char* doc)
{
    cls.def("get_job_result", [](const Job& job) { return job.getJobResult(); }, doc);
}

} // namespace control_binding
