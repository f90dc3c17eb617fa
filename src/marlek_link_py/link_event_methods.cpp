// MarlekLink: the connection-status callback and the event handlers.
// Registrations wait for the session's handler lock, which the connection's
// thread holds while it calls handlers; so they let the interpreter lock go
// meanwhile, and one made inside a callback of the link is carried out on a
// thread of its own once the dispatch in progress has ended.

#include "marlek_link_py/blocking_call.hpp"
#include "marlek_link_py/callback_bridge.hpp"
#include "marlek_link_py/link_python_side.hpp"
#include "marlek_link_py/link_wrap.hpp"

#include "marlek_link/marlek_link.hpp"
#include "marlek_link_json/events/marleklinkeventhandler.hpp"

#include <pybind11/native_enum.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>
#include <pybind11/typing.h>

#include <memory>
#include <mutex>
#include <optional>

namespace py = pybind11;

namespace {

using Handler = std::shared_ptr<MarlekLinkEventHandler>;
using StatusCallable = py::typing::Callable<void(MarlekLinkConnectionStatusEnum)>;

template <typename Change>
void changeRegistration(MarlekLink& link, const Handler& handler, Change change)
{
    if (!handler) {
        throw py::type_error("event_handler must be a MarlekLinkEventHandler, not None");
    }
    const auto side = LinkPythonSide::of(link);
    if (LinkPythonSide::onSessionThread()) {
        LinkPythonSide* const later = side.get();
        side->runLater([later, &link, handler, change] {
            std::lock_guard lock(later->coreMutex);
            change(link, handler);
        });
        return;
    }
    callWithoutInterpreterLock([&] {
        std::lock_guard lock(side->coreMutex);
        change(link, handler);
    });
}

} // namespace

void add_link_event_methods(LinkClass& cls)
{
    cls.def(
        "set_connection_status_callback",
        [](MarlekLink& link, const std::optional<StatusCallable>& callback) {
            if (callback) {
                link.setConnectionStatusCallback(PyCallback<MarlekLinkConnectionStatusEnum>(*callback));
            } else {
                link.setConnectionStatusCallback({});
            }
        },
        py::arg("callback"),
        "\n    Set callback that will be called on connection status change.\n"
        "    Pass None to clear the callback.\n\n"
        "    :param callback: a callable taking a :class:`marlek_link.MarlekLinkConnectionStatusEnum`, or None\n");
    cls.def(
        "set_event_handler",
        [](MarlekLink& link, const Handler& handler) {
            changeRegistration(link, handler, [](MarlekLink& target, const Handler& h) { target.setEventHandler(h); });
        },
        py::arg("event_handler"),
        "\n    Register an event handler.\n\n"
        "    Registered inside a callback of this link, it takes effect once that callback's event has been\n"
        "    handled.\n\n"
        "    :param event_handler: a :class:`marlek_link.MarlekLinkEventHandler` created via a factory method\n");
    cls.def(
        "clear_event_handler",
        [](MarlekLink& link, const Handler& handler) {
            changeRegistration(link, handler,
                               [](MarlekLink& target, const Handler& h) { target.clearEventHandler(h); });
        },
        py::arg("event_handler"),
        "\n    Remove a previously registered event handler.\n\n"
        "    Removed inside a callback of this link, it takes effect once that callback's event has been\n"
        "    handled.\n\n"
        "    :param event_handler: a :class:`marlek_link.MarlekLinkEventHandler` previously passed to\n"
        "        :meth:`set_event_handler`\n");
}
