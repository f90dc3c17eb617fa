// AbstractMeasurementJob: the Python base of every job class, with the
// members that read the outcome of the last run and set the job's options.
// No constructor is bound, so only the concrete job classes make jobs.

#include "marlek_link_py/data_text.hpp"
#include "marlek_link_py/docstring.hpp"
#include "marlek_link_py/init_wrap.hpp"

#include "marlek_link_json/jobs/abstract_measurementjob.hpp"
#include "marlek_link_json/jobs/measurementjob.hpp"

#include <pybind11/native_enum.h>
#include <pybind11/pybind11.h>

namespace py = pybind11;

namespace {

// Declared as the alias type so that Python sees one job hierarchy; it
// overrides nothing, so no core operation can be replaced from Python.
class PyAbstractMeasurementJob : public AbstractMeasurementJob {};

// Every job reachable from Python shares the core's job state.
MeasurementJob& jobState(AbstractMeasurementJob& job)
{
    return dynamic_cast<MeasurementJob&>(job);
}

} // namespace

#define MARLEK_RUN_FIRST "\n\n    The job must have been executed with :meth:`marlek_link.MarlekLink.do_job` before.\n"

void init_abstract_measurement_job_wrap(py::module_& m)
{
    py::class_<AbstractMeasurementJob, PyAbstractMeasurementJob>(
        m, "AbstractMeasurementJob",
        "\n    Abstract base class from which all jobs are derived.\n\n"
        "    Each job is an instantiation of a job template derived from this class.\n")
        .def("was_successful", &AbstractMeasurementJob::wasSuccessful,
             "\n    Get status if the last job was successful." MARLEK_RUN_FIRST)
        .def("get_last_job_error_message", withDataText(&AbstractMeasurementJob::getLastJobErrorMessage),
             "\n    Get the last job error message when failing." MARLEK_RUN_FIRST)
        .def("get_last_job_status", &AbstractMeasurementJob::getLastJobStatus,
             "\n    Get status of the last job." MARLEK_RUN_FIRST)
        .def("get_last_job_info", &AbstractMeasurementJob::getLastJobInfo, py::return_value_policy::reference_internal,
             "\n    Get the info of the last job." MARLEK_RUN_FIRST)
        .def(
            "get_job_options", [](AbstractMeasurementJob& job) -> JobOptions& { return jobState(job).jobOptions; },
            py::return_value_policy::reference_internal, MARLEK_DOC("Get the options with which the job is executed."))
        .def(
            "set_job_options",
            [](AbstractMeasurementJob& job, const JobOptions& options) { jobState(job).jobOptions = options; },
            py::arg("job_options"),
            "\n    Set the options with which the job is executed.\n\n"
            "    The options are read when the job is started, so call this before the job is handed to\n"
            "    :meth:`marlek_link.MarlekLink.do_job` or :meth:`marlek_link.MarlekLink.check_job_parameters`.\n");
}
