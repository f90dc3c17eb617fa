// MarlekLink: the connection-status callback and the event handlers.
// Registrations wait for the session's handler lock, which the connection's
// thread holds while it calls handlers; so they let the interpreter lock go
// meanwhile. One made inside a callback of the link is queued by the core
// and takes effect, in order, once the dispatch in progress has ended.
//
// The link's Python side keeps the Python objects the link holds, for the
// collector; what it lets go of is released after the core has let go of
// its copies, so that the last reference to a callable never goes while the
// library holds a lock.

#include "marlek_link_py/blocking_call.hpp"
#include "marlek_link_py/callback_bridge.hpp"
#include "marlek_link_py/link_python_side.hpp"
#include "marlek_link_py/link_wrap.hpp"
#include "marlek_link_py/python_event_handler.hpp"

#include "marlek_link/marlek_link.hpp"

#include <pybind11/native_enum.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>
#include <pybind11/typing.h>

#include <memory>
#include <optional>

namespace py = pybind11;

namespace {

using Handler = std::shared_ptr<PythonEventHandler>;
using StatusCallable = py::typing::Callable<void(MarlekLinkConnectionStatusEnum)>;

void requireHandler(const Handler& handler)
{
    if (!handler) {
        throw py::type_error("event_handler must be a MarlekLinkEventHandler, not None");
    }
}

void setEventHandler(MarlekLink& link, const Handler& handler)
{
    requireHandler(handler);
    LinkPythonSide::of(link)->keepHandler(py::cast(handler));
    callWithoutInterpreterLock([&] { link.setEventHandler(handler); });
}

void clearEventHandler(MarlekLink& link, const Handler& handler)
{
    requireHandler(handler);
    const py::object registered = LinkPythonSide::of(link)->dropHandler(py::cast(handler));
    callWithoutInterpreterLock([&] { link.clearEventHandler(handler); });
}

void setConnectionStatusCallback(MarlekLink& link, const std::optional<StatusCallable>& callback)
{
    const auto callable = callback ? std::make_shared<PyCallableRef>(*callback) : nullptr;
    const auto previous = LinkPythonSide::of(link)->replaceStatusCallable(callable);
    if (callable) {
        link.setConnectionStatusCallback(PyCallback<MarlekLinkConnectionStatusEnum>(callable));
    } else {
        link.setConnectionStatusCallback({});
    }
}

} // namespace

void add_link_event_methods(LinkClass& cls)
{
    cls.def("set_connection_status_callback", &setConnectionStatusCallback, py::arg("callback"),
            "\n    Set callback that will be called on connection status change.\n"
            "    Pass None to clear the callback.\n\n"
            "    :param callback: a callable taking a :class:`marlek_link.MarlekLinkConnectionStatusEnum`, or None\n");
    cls.def("set_event_handler", &setEventHandler, py::arg("event_handler"),
            "\n    Register an event handler.\n\n"
            "    Registered inside a callback of this link, it takes effect once that callback's event has been\n"
            "    handled.\n\n"
            "    :param event_handler: a :class:`marlek_link.MarlekLinkEventHandler` created via a factory method\n");
    cls.def("clear_event_handler", &clearEventHandler, py::arg("event_handler"),
            "\n    Remove a previously registered event handler.\n\n"
            "    Removed inside a callback of this link, it takes effect once that callback's event has been\n"
            "    handled.\n\n"
            "    :param event_handler: a :class:`marlek_link.MarlekLinkEventHandler` previously passed to\n"
            "        :meth:`set_event_handler`\n");
}
