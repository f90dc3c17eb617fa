// MarlekLink: running jobs, their results, the settings and the device
// queries. Every call that waits for the workstation lets the interpreter
// lock go, so that Python callbacks on the connection's thread (which need
// it) and other Python threads go on meanwhile, and can be interrupted
// (blocking_call.hpp); results become Python objects after the lock has
// been taken back.

#include "marlek_link_py/blocking_call.hpp"
#include "marlek_link_py/duration_arg.hpp"
#include "marlek_link_py/link_wrap.hpp"

#include "marlek_link/marlek_link.hpp"
#include "marlek_link_json/jobs/abstract_measurementjob.hpp"
#include "marlek_link_json/jobs/dataset/dataset.hpp"

#include <pybind11/native_enum.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <chrono>
#include <memory>
#include <stop_token>
#include <utility>
#include <vector>

namespace py = pybind11;

void add_link_job_methods(LinkClass& cls)
{
    cls.def("do_job", interruptibleLinkMethod<&MarlekLink::doJob>, py::arg("job"),
            "\n    Perform a job\n\n"
            "    :param job: the job object\n"
            "    :returns: :class:`marlek_link.ErrorObject`, falsy if the job was successful\n");
    cls.def("wait_for_job_to_finish", interruptibleLinkMethod<&MarlekLink::waitForJobToFinish>, py::arg("job"),
            "\n    Wait for a job to finish\n\n"
            "    :param job: the job object\n"
            "    :returns: :class:`marlek_link.ErrorObject`, falsy if the job was successful\n");
    cls.def(
        "get_job_result_data",
        [](MarlekLink& link, AbstractMeasurementJob& job) {
            return valueOrError(callLinkInterruptibly(link, [&] { return link.getJobResultData(job); }));
        },
        py::arg("job"),
        "\n    Get the result data from a job\n\n"
        "    Use it for jobs that return measurement data and online data of a longer duration, for example\n"
        "    EIS with :class:`marlek_link.meas.EisGenerateJob` or :class:`marlek_link.meas.CvJob`.\n\n"
        "    :param job: the job object\n"
        "    :returns: a :class:`marlek_link.DataSet` (for example :class:`marlek_link.EisDataset` or\n"
        "        :class:`marlek_link.DcDataset`) on success, an :class:`marlek_link.ErrorObject` on failure\n");
    cls.def("send_stop", &MarlekLink::sendStop, py::arg("queue_stop_mode"),
            "\n    Stop the device\n\n    :param queue_stop_mode: enum how to stop the job\n");
    cls.def("update_settings", interruptibleLinkMethod<&MarlekLink::updateSettings>, py::arg("settings"),
            "\n    Update device settings\n\n    :param settings: list of settings to update\n");
    cls.def(
        "get_settings",
        [](MarlekLink& link) {
            return valueOrError(callLinkInterruptibly(link, [&] { return link.getSettings(); }));
        },
        "\n    Get the current device settings\n\n"
        "    :returns: a :class:`marlek_link.SettingsSet` on success, an :class:`marlek_link.ErrorObject` on\n"
        "        failure\n");
    cls.def(
        "get_job_info_list",
        [](MarlekLink& link, bool excludeFinishedJobs) {
            return valueOrError(callLinkInterruptibly(link, [&] { return link.getJobInfoList(excludeFinishedJobs); }));
        },
        py::arg("exclude_finished_jobs") = false,
        "\n    Get job info list\n\n"
        "    :param exclude_finished_jobs: if True, finished jobs are excluded\n"
        "    :returns: a list of :class:`marlek_link.JobInfo` on success, an :class:`marlek_link.ErrorObject` on\n"
        "        failure\n\n"
        "    .. collapse:: WebSocket JSON Example\n\n"
        "        .. code-block:: json\n\n"
        "            {\"do\": \"/job/list\", \"request_id\": \"...\", \"exclude_finished\": false}\n");
    cls.def(
        "get_job_info",
        [](MarlekLink& link, AbstractMeasurementJob& job) {
            return valueOrError(callLinkInterruptibly(link, [&] { return link.getJobInfo(job); }));
        },
        py::arg("job"),
        "\n    Get job info for a specific job\n\n"
        "    :param job: the job object\n"
        "    :returns: a :class:`marlek_link.JobInfo` on success, an :class:`marlek_link.ErrorObject` on failure\n\n"
        "    .. collapse:: WebSocket JSON Example\n\n"
        "        .. code-block:: json\n\n"
        "            {\"do\": \"/job/info\", \"request_id\": \"...\", \"job_id\": \"...\"}\n");
    cls.def(
        "get_workstation_info",
        [](MarlekLink& link) {
            return valueOrError(callLinkInterruptibly(link, [&] { return link.getWorkstationInfo(); }));
        },
        "\n    Get device information\n\n"
        "    :returns: a :class:`marlek_link.WorkstationInfo` on success, an :class:`marlek_link.ErrorObject` on\n"
        "        failure\n");
    cls.def(
        "get_workstation_status",
        [](MarlekLink& link) {
            return valueOrError(callLinkInterruptibly(link, [&] { return link.getWorkstationStatus(); }));
        },
        "\n    Get device status\n\n"
        "    :returns: a :class:`marlek_link.WorkstationStatus` on success, an :class:`marlek_link.ErrorObject` on\n"
        "        failure\n");
    cls.def(
        "get_own_connection_info",
        [](MarlekLink& link) {
            return valueOrError(callLinkInterruptibly(link, [&] { return link.getOwnConnectionInfo(); }));
        },
        "\n    Get information about the own WebSocket connection to the workstation.\n\n"
        "    :returns: a :class:`marlek_link.WebsocketConnectionInfo` on success, an\n"
        "        :class:`marlek_link.ErrorObject` on failure\n");
    cls.def(
        "get_workstation_connection_list",
        [](MarlekLink& link) {
            return valueOrError(callLinkInterruptibly(link, [&] { return link.getWorkstationConnectionList(); }));
        },
        "\n    Get list of all active WebSocket connections to the workstation.\n\n"
        "    :returns: a list of :class:`marlek_link.WebsocketConnectionInfo` on success, an\n"
        "        :class:`marlek_link.ErrorObject` on failure\n");
    cls.def("drop_workstation_connection", interruptibleLinkMethod<&MarlekLink::dropWorkstationConnection>,
            py::arg("connection_info"),
            "\n    Drop a specific workstation connection.\n\n"
            "    The connection identified by the given :class:`marlek_link.WebsocketConnectionInfo` will be\n"
            "    disconnected; :meth:`get_workstation_connection_list` obtains the available connections.\n\n"
            "    :param connection_info: the :class:`marlek_link.WebsocketConnectionInfo` of the connection to drop\n"
            "    :returns: :class:`marlek_link.ErrorObject`, falsy on success\n");
    cls.def(
        "id",
        [](const MarlekLink& link, const DurationArg& timeout) {
            const auto limit = timeout.checked("the timeout", std::chrono::milliseconds::zero(), kLongestClockWait);
            return valueOrError(callStoppable([&](std::stop_token stop) { return link.id(limit, std::move(stop)); }));
        },
        py::arg_v("timeout", py::module_::import("datetime").attr("timedelta")(), "datetime.timedelta(0)"),
        "\n    Query device identification without a persistent connection\n\n"
        "    :param timeout: timeout for the request; zero sets no limit\n"
        "    :returns: a :class:`marlek_link.WorkstationInfo` on success, an :class:`marlek_link.ErrorObject` on\n"
        "        failure\n");
    cls.def("check_job_parameters", interruptibleLinkMethod<&MarlekLink::checkJobParameters>, py::arg("job"),
            "\n    Check job parameters before execution\n\n"
            "    :param job: the job object\n"
            "    :returns: :class:`marlek_link.ErrorObject`, falsy if the parameters are valid\n");
}
