// MarlekLinkException and MarlekLinkExc: the link variant that raises instead
// of returning failures. The core throws; a translator turns its exception
// into the Python type, carrying a copy of the error object as `error`.

#include "marlek_link_py/blocking_call.hpp"
#include "marlek_link_py/connection_text.hpp"
#include "marlek_link_py/data_text.hpp"
#include "marlek_link_py/link_collection.hpp"
#include "marlek_link_py/link_python_side.hpp"
#include "marlek_link_py/link_wrap.hpp"

#include "marlek_link/marlek_link_exc.hpp"
#include "marlek_link/marlek_link_exception.hpp"
#include "marlek_link_json/jobs/abstract_measurementjob.hpp"
#include "marlek_link_json/jobs/dataset/dataset.hpp"

#include <pybind11/gil_safe_call_once.h>
#include <pybind11/native_enum.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <cstdint>
#include <exception>
#include <memory>
#include <string>
#include <vector>

namespace py = pybind11;

namespace {

using LinkExcClass = py::class_<MarlekLinkExc, MarlekLink, std::unique_ptr<MarlekLinkExc, LinkDeleter>>;

// One type per process, made by the first import and kept until exit.
PYBIND11_CONSTINIT py::gil_safe_call_once_and_store<py::object> exceptionStorage;

PyObject* exceptionType()
{
    return exceptionStorage.get_stored().ptr();
}

void createExceptionType(const py::module_& m)
{
    exceptionStorage.call_once_and_store_result([&] {
        const std::string name = m.attr("__name__").cast<std::string>() + ".MarlekLinkException";
        PyObject* type = PyErr_NewException(name.c_str(), PyExc_Exception, nullptr);
        if (type == nullptr) {
            throw py::error_already_set();
        }
        return py::reinterpret_steal<py::object>(type);
    });
}

void raise(PyObject* type, const MarlekLinkException& exception)
{
    // The message may quote bytes that are not UTF-8.
    py::object instance = py::reinterpret_borrow<py::object>(type)(dataText(exception.what()));
    instance.attr("error") = py::cast(ErrorObject(exception.getError()));
    PyErr_SetObject(type, instance.ptr());
}

// The core's throwing overrides report every failure by throwing; these
// only unwrap the value.
template <typename T>
T valueOf(std::expected<T, ErrorObject>&& result)
{
    if (!result) {
        throw MarlekLinkException(result.error());
    }
    return std::move(*result);
}

void addJobMethods(LinkExcClass& cls)
{
    cls.def("do_job", interruptibleLinkMethod<&MarlekLinkExc::doJob>, py::arg("job"),
            "\n    Perform a job.\n\n"
            "    :param job: the job object\n"
            "    :returns: :class:`marlek_link.ErrorObject`, falsy if the job was successful\n"
            "    :raises MarlekLinkException: if the job failed\n");
    cls.def("wait_for_job_to_finish", interruptibleLinkMethod<&MarlekLinkExc::waitForJobToFinish>, py::arg("job"),
            "\n    Wait for a job to finish\n    \n"
            "    :param job: the job object\n"
            "    :returns: :class:`marlek_link.ErrorObject`, falsy if the job was successful\n"
            "    :raises MarlekLinkException: if the job failed\n");
    cls.def(
        "get_job_result_data",
        [](MarlekLinkExc& link, AbstractMeasurementJob& job) {
            return valueOf(callLinkInterruptibly(link, [&] { return link.getJobResultData(job); }));
        },
        py::arg("job"),
        "\n    Get the result data from a previously executed job.\n\n"
        "    :param job: the job object\n"
        "    :returns: a :class:`marlek_link.DataSet` (for example :class:`marlek_link.EisDataset` or\n"
        "        :class:`marlek_link.DcDataset`)\n"
        "    :raises MarlekLinkException: if the retrieval failed or the job did not finish successfully\n");
    cls.def(
        "get_job_info_list",
        [](MarlekLinkExc& link, bool excludeFinishedJobs) {
            return valueOf(callLinkInterruptibly(link, [&] { return link.getJobInfoList(excludeFinishedJobs); }));
        },
        py::arg("exclude_finished_jobs") = false,
        "\n    Get job info list\n\n"
        "    :param exclude_finished_jobs: if True, finished jobs are excluded\n"
        "    :returns: a list of :class:`marlek_link.JobInfo` objects\n"
        "    :raises MarlekLinkException: if the retrieval failed\n");
    cls.def(
        "get_job_info",
        [](MarlekLinkExc& link, AbstractMeasurementJob& job) {
            return valueOf(callLinkInterruptibly(link, [&] { return link.getJobInfo(job); }));
        },
        py::arg("job"),
        "\n    Get job info for a specific job\n\n"
        "    :param job: the job object\n"
        "    :returns: a :class:`marlek_link.JobInfo`\n"
        "    :raises MarlekLinkException: if the retrieval failed\n");
    cls.def("check_job_parameters", interruptibleLinkMethod<&MarlekLinkExc::checkJobParameters>, py::arg("job"),
            "\n    Check job parameters before execution.\n\n"
            "    :param job: the job object\n"
            "    :returns: :class:`marlek_link.ErrorObject`, falsy if the parameters are valid\n"
            "    :raises MarlekLinkException: if the parameters are invalid\n");
}

// The set has a lock of its own in the core: do_job reads it without the
// interpreter lock while another Python thread may change it.
void addSuppressionMethods(LinkExcClass& cls)
{
    cls.def("suppress_do_job_exception", &MarlekLinkExc::suppressDoJobException, py::arg("code"),
            "\n        Suppress raising an exception in :meth:`do_job` for a specific error code.\n\n"
            "        :param code: the :class:`marlek_link.ErrorCodeEnum` to suppress\n    ");
    cls.def("enable_do_job_exception", &MarlekLinkExc::enableDoJobException, py::arg("code"),
            "\n        Re-enable raising an exception in :meth:`do_job` for a specific error code.\n\n"
            "        :param code: the :class:`marlek_link.ErrorCodeEnum` to enable\n    ");
    cls.def("is_do_job_exception_suppressed", &MarlekLinkExc::isDoJobExceptionSuppressed, py::arg("code"),
            "\n        Check whether :meth:`do_job` exception throwing is suppressed for a specific error code.\n\n"
            "        :param code: the :class:`marlek_link.ErrorCodeEnum` to check\n"
            "        :returns: True if the error code is currently suppressed\n    ");
}

void addConnectionMethods(LinkExcClass& cls)
{
    cls.def(
        "get_own_connection_info",
        [](MarlekLinkExc& link) {
            return valueOf(callLinkInterruptibly(link, [&] { return link.getOwnConnectionInfo(); }));
        },
        "\n    Get information about the own WebSocket connection to the workstation.\n\n"
        "    :returns: a :class:`marlek_link.WebsocketConnectionInfo`\n"
        "    :raises MarlekLinkException: if the retrieval failed\n");
    cls.def(
        "get_workstation_connection_list",
        [](MarlekLinkExc& link) {
            return valueOf(callLinkInterruptibly(link, [&] { return link.getWorkstationConnectionList(); }));
        },
        "\n    Get list of all active WebSocket connections to the workstation.\n\n"
        "    :returns: a list of :class:`marlek_link.WebsocketConnectionInfo`\n"
        "    :raises MarlekLinkException: if the retrieval failed\n");
    cls.def("drop_workstation_connection", interruptibleLinkMethod<&MarlekLinkExc::dropWorkstationConnection>,
            py::arg("connection_info"),
            "\n    Drop a specific workstation connection.\n\n"
            "    The connection identified by the given :class:`marlek_link.WebsocketConnectionInfo` will be\n"
            "    disconnected; :meth:`get_workstation_connection_list` obtains the available connections.\n\n"
            "    :param connection_info: the :class:`marlek_link.WebsocketConnectionInfo` of the connection to drop\n"
            "    :returns: :class:`marlek_link.ErrorObject`, falsy on success\n"
            "    :raises MarlekLinkException: if the operation failed\n");
}

} // namespace

void register_link_exception(py::module_& m)
{
    createExceptionType(m);
    PyObject* type = exceptionType();
    py::handle(type).attr("__doc__") = "Base class for all MarlekLink exceptions.";
    m.attr("MarlekLinkException") = py::handle(type);
    py::register_exception_translator([](std::exception_ptr pending) {
        if (!pending) {
            return;
        }
        try {
            std::rethrow_exception(pending);
        } catch (const MarlekLinkException& exception) {
            raise(exceptionType(), exception);
        }
    });
}

void register_link_exc_class(py::module_& m)
{
    LinkExcClass cls(m, "MarlekLinkExc", py::custom_type_setup(takePartInCollection<MarlekLinkExc>));
    cls.def(py::init([](const std::string& hostname, const std::string& port, std::uint32_t flags,
                        const std::string& httpUser, const std::string& httpPassword) {
                std::unique_ptr<MarlekLinkExc, LinkDeleter> link(new MarlekLinkExc(
                    connectionText(hostname, "hostname"), connectionText(port, "port"), flags,
                    connectionText(httpUser, "http_user"), connectionText(httpPassword, "http_password")));
                LinkPythonSide::of(*link);
                return link;
            }),
            py::arg("hostname"), py::arg("port") = "1994", py::arg("flags") = 0u, py::arg("http_user") = "",
            py::arg("http_password") = "",
            "\n    Class which manages the connection to the TQ5\n\n"
            "    It provides the methods for communicating with a TQ5 device and executing jobs. It is the\n"
            "    variant of :class:`marlek_link.MarlekLink` that raises :class:`marlek_link.MarlekLinkException`\n"
            "    when the underlying operation fails.\n\n"
            "    :param hostname: IP address of the TQ5\n"
            "    :param port: port of the TQ5\n"
            "    :param flags: optional flags of type :class:`marlek_link.MarlekLinkConnectionFlags` for the\n"
            "        connection, combined with bitwise OR\n"
            "    :param http_user: user name from the settings\n"
            "    :param http_password: password from the settings\n");
    addJobMethods(cls);
    addSuppressionMethods(cls);
    addConnectionMethods(cls);
}
