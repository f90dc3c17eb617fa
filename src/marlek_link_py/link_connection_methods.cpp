// MarlekLink: construction, connecting and disconnecting, the settings of
// the connection and its status.

#include "marlek_link_py/blocking_call.hpp"
#include "marlek_link_py/connection_text.hpp"
#include "marlek_link_py/docstring.hpp"
#include "marlek_link_py/duration_arg.hpp"
#include "marlek_link_py/link_python_side.hpp"
#include "marlek_link_py/link_wrap.hpp"

#include "marlek_link/marlek_link.hpp"

#include <pybind11/native_enum.h>
#include <pybind11/pybind11.h>

#include <chrono>
#include <cstdint>
#include <string>

namespace py = pybind11;

namespace {

ErrorObject connect(MarlekLink& link)
{
    // Connecting replaces the session, whose threads this one would then wait for.
    if (LinkPythonSide::onSessionThread()) {
        return ErrorObject(ErrorCodeEnum::CONNECTION_FAILED, "connect cannot be called from a callback of the link");
    }
    const auto side = LinkPythonSide::of(link);
    return callLinkInterruptibly(link, [&] {
        std::lock_guard lock(side->coreMutex);
        return link.connect();
    });
}

void disconnect(MarlekLink& link)
{
    // Let go of once the link has let go of its copies.
    const auto statusCallable = LinkPythonSide::of(link)->replaceStatusCallable(nullptr);
    link.setConnectionStatusCallback({});
    callWithoutInterpreterLock([&] {
        // Calls that wait on the session on other threads return at once.
        link.cancelPendingOperations();
        link.disconnect();
    });
}

void setDestinationHost(MarlekLink& link, const std::string& hostname, const std::string& port)
{
    link.setDestinationHost(connectionText(hostname, "hostname"), connectionText(port, "port"));
}

void setHttpAuthenticationInfo(MarlekLink& link, const std::string& httpUser, const std::string& httpPassword)
{
    link.setHttpAuthenticationInfo(connectionText(httpUser, "http_user"),
                                   connectionText(httpPassword, "http_password"));
}

} // namespace

void add_link_connection_methods(LinkClass& cls)
{
    cls.def(py::init([](const std::string& hostname, const std::string& port, std::uint32_t flags,
                        const std::string& httpUser, const std::string& httpPassword) {
                LinkHolder link(new MarlekLink(connectionText(hostname, "hostname"), connectionText(port, "port"),
                                               flags, connectionText(httpUser, "http_user"),
                                               connectionText(httpPassword, "http_password")));
                LinkPythonSide::of(*link);
                return link;
            }),
            py::arg("hostname"), py::arg("port") = "1994", py::arg("flags") = 0u, py::arg("http_user") = "",
            py::arg("http_password") = "",
            "\n    Class which manages the connection to the TQ5\n\n"
            "    It provides the methods for communicating with a TQ5 device and executing jobs.\n\n"
            "    :param hostname: IP address of the TQ5\n"
            "    :param port: port of the TQ5\n"
            "    :param flags: optional flags of type :class:`marlek_link.MarlekLinkConnectionFlags` for the\n"
            "        connection, combined with bitwise OR\n"
            "    :param http_user: user name from the settings\n"
            "    :param http_password: password from the settings\n");
    cls.def("disconnect", &disconnect,
            "\n    Disconnect from the device\n\n"
            "    Jobs can no longer be executed after :meth:`disconnect` has been called; data available in\n"
            "    the job objects after a job has been executed remains valid and can still be used.\n");
    cls.def(
        "cancel_pending_operations",
        [](MarlekLink& link) { callWithoutInterpreterLock([&] { link.cancelPendingOperations(); }); },
            "\n    Thread-safe cancellation of all pending client-side operations.\n\n"
            "    Immediately interrupts blocking calls on this :class:`MarlekLink`, such as :meth:`do_job`,\n"
            "    :meth:`get_job_result_data` or :meth:`wait_for_job_to_finish`, which then return with\n"
            "    ``ErrorCodeEnum.STOPPED_MANUALLY``. Unlike :meth:`disconnect` it may be called from any\n"
            "    thread while another thread is blocked on an operation of this link. The connection to the\n"
            "    workstation remains established and the data acquisition on the device is unaffected: jobs\n"
            "    already running there go on. Afterwards the caller must still call :meth:`disconnect` from\n"
            "    the thread that owns the link to close the connection properly.\n");
    cls.def_static("get_library_revision", &MarlekLink::getLibraryVersion,
                   "\n    Get the version of the link library.\n\n"
                   "    The returned string is identical to :data:`marlek_link.__version__`.\n");
    cls.def_static(
        "get_supported_protocol_version", [] { return MarlekLink::getSupportedProtocolVersion(); },
        MARLEK_DOC("Get the protocol version of the link library."));
    cls.def("get_connection_status", &MarlekLink::getConnectionStatus,
            "\n    Get the connection state\n\n    :returns: enum with the connection state\n");
    cls.def("is_connected", &MarlekLink::isConnected,
            "\n    Check if it is connected to TQ5\n\n    :returns: True if it is connected\n");
    cls.def(
        "set_request_timeout",
        [](MarlekLink& link, const DurationArg& timeout) {
            link.setRequestTimeout(
                timeout.checked("the request timeout", std::chrono::milliseconds::zero(), longestRequestTimeout));
        },
        "\n    Set the request timeout\n\n    :param timeout: timeout value in seconds\n");
    cls.def("connect", &connect,
            "\n    Connect to a running TQ5\n\n"
            "    :returns: :class:`marlek_link.ErrorObject`, falsy on success\n");
    cls.def("set_destination_host", &setDestinationHost, py::arg("hostname"), py::arg("port"),
            "\n    Set the destination host and port.\n\n"
            "    :param hostname: IP address or host name of the TQ5\n"
            "    :param port: port of the TQ5\n");
    cls.def("set_http_authentication_info", &setHttpAuthenticationInfo, py::arg("http_user"),
            py::arg("http_password"),
            "\n    Set HTTP authentication information.\n\n"
            "    :param http_user: user name\n"
            "    :param http_password: password\n");
    cls.def(
        "set_flag", [](MarlekLink& link, std::uint32_t flag) { link.setFlag(flag); }, py::arg("flag"),
        "\n    Set a connection flag.\n\n"
        "    :param flag: the flag to set, for example from :class:`marlek_link.MarlekLinkConnectionFlags`\n");
    cls.def(
        "clear_flag", [](MarlekLink& link, std::uint32_t flag) { link.clearFlag(flag); }, py::arg("flag"),
        "\n    Clear a connection flag.\n\n"
        "    :param flag: the flag to clear, for example from :class:`marlek_link.MarlekLinkConnectionFlags`\n");
    cls.def(
        "test_flag", [](const MarlekLink& link, std::uint32_t flag) { return link.testFlag(flag); }, py::arg("flag"),
        "\n    Test if a connection flag is set.\n\n"
        "    :param flag: the flag to test, for example from :class:`marlek_link.MarlekLinkConnectionFlags`\n"
        "    :returns: True if the flag is set\n");
}
