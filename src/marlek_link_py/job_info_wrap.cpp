// SwitchOnInfo, JobOptions and JobInfo: the switch-on job's result, a job's
// execution options and the workstation's account of a job. The error and
// options of a JobInfo are views that write through and keep the JobInfo
// alive.

#include "marlek_link_py/data_text.hpp"
#include "marlek_link_py/docstring.hpp"
#include "marlek_link_py/init_wrap.hpp"

#include "marlek_json_common/json_common/jobs/joboptions.hpp"
#include "marlek_json_common/json_common/logging/error_formatter.hpp"
#include "marlek_link_json/jobs/common/jobinfo.hpp"
#include "marlek_link_json/jobs/control/jobs/switch_on/switch_onjob.hpp"

#include <pybind11/native_enum.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <string>

namespace py = pybind11;

namespace {

// Made only by SwitchOnJob.get_job_result, so without a constructor.
void registerSwitchOnInfo(py::module_& m)
{
    py::class_<SwitchOnInfo>(m, "SwitchOnInfo")
        .def_readwrite("applied_bias", &SwitchOnInfo::applied_bias, MARLEK_DOC("bias that was actually applied"))
        .def_readwrite("voltage", &SwitchOnInfo::voltage, MARLEK_DOC("output voltage of the potentiostat"))
        .def_readwrite("current", &SwitchOnInfo::current, MARLEK_DOC("output current of the potentiostat"));
}

void registerJobOptions(py::module_& m)
{
    py::class_<JobOptions>(m, "JobOptions",
                           "\n    Options which apply to the execution of a job, not to its measurement parameters.\n\n"
                           "    Pass an instance to :meth:`marlek_link.AbstractMeasurementJob.set_job_options`\n"
                           "    before the job is handed to :meth:`marlek_link.MarlekLink.do_job`. Only options\n"
                           "    which are set are transmitted; an absent option means False.\n")
        .def(py::init([](bool bypassQueue, bool discardResultData) {
                 return JobOptions{bypassQueue, discardResultData};
             }),
             py::arg("bypass_queue") = false, py::arg("discard_result_data") = false,
             "\n    Create job options.\n\n"
             "    :param bypass_queue: run the job at once instead of appending it to the job queue; the TQ5\n"
             "        rejects the job with ``QUEUE_BYPASS_NOT_ALLOWED`` if bypassing is not permitted\n"
             "    :param discard_result_data: create no job-result resource; live-data events are still sent,\n"
             "        and fetching the job's result data fails with ``RESULT_DATA_DISCARDED``\n")
        .def_readwrite("bypass_queue", &JobOptions::bypass_queue,
                       MARLEK_DOC("the job is not appended to the job queue but executed right away"))
        .def_readwrite("discard_result_data", &JobOptions::discard_result_data,
                       MARLEK_DOC("the TQ5 does not store the result data of the job"));
}

void registerJobInfo(py::module_& m)
{
    py::class_<JobInfo>(m, "JobInfo", MARLEK_DOC("Class which contains information about the job."))
        .def(
            "get_job_id", withDataText(+[](const JobInfo& info) { return info.jobId; }),
            MARLEK_DOC("Get the ID of the job that was assigned by the TQ5."))
        .def(
            "get_status", [](const JobInfo& info) { return info.status; }, MARLEK_DOC("Get the status of the job."))
        .def(
            "get_status_string", [](const JobInfo& info) { return std::string(info.getStatusString()); },
            MARLEK_DOC("Get the status of the job as string."))
        .def(
            "get_status_detail", [](const JobInfo& info) { return info.statusDetail; },
            MARLEK_DOC("Get the detailed status of the job."))
        .def(
            "get_status_detail_string", [](const JobInfo& info) { return std::string(info.getStatusDetailString()); },
            MARLEK_DOC("Get the detailed status of the job as string."))
        .def(
            "get_error", [](JobInfo& info) -> ErrorObject& { return info.error; },
            py::return_value_policy::reference_internal,
            MARLEK_DOC("Get the error object of the job"))
        .def(
            "get_error_message",
            withDataText(+[](const JobInfo& info) { return ErrorFormatters::formatOrFallback(info.error); }),
            "\n    Get the error message of the job\n\n"
            "    :returns: the job's error formatted with its parameters (\"no error occoured\" when there is none)\n")
        .def(
            "get_creation_date",
            withDataText(+[](const JobInfo& info) { return info.created; }), MARLEK_DOC("Get the creation date."))
        .def(
            "get_start_date",
            withDataText(+[](const JobInfo& info) { return info.started; }), MARLEK_DOC("Get the start date."))
        .def(
            "get_end_date",
            withDataText(+[](const JobInfo& info) { return info.ended; }), MARLEK_DOC("Get the end date."))
        .def(
            "get_user_metadata",
            withDataText(+[](const JobInfo& info) { return info.jobMeta; }), MARLEK_DOC("Get the meta data."))
        .def(
            "get_job_options", [](JobInfo& info) -> JobOptions& { return info.options; },
            py::return_value_policy::reference_internal,
            "\n    Get the options with which the job was executed.\n\n"
            "    Options which were not transmitted read as False.\n");
}

} // namespace

void init_job_info_wrap(py::module_& m)
{
    registerSwitchOnInfo(m);
    registerJobOptions(m);
    registerJobInfo(m);
}
