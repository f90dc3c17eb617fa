// init_link_job_wrap: the link and the classes it takes and returns, in the
// order in which later classes may refer to them.

#include "marlek_link_py/blocking_call.hpp"
#include "marlek_link_py/init_wrap.hpp"
#include "marlek_link_py/interpreter_entry.hpp"
#include "marlek_link_py/link_python_side.hpp"
#include "marlek_link_py/link_wrap.hpp"

#include "marlek_link/marlek_link.hpp"

#include <pybind11/pybind11.h>

#include <mutex>
#include <thread>

namespace py = pybind11;

namespace {

// Without the interpreter lock: the link's threads may be waiting for it
// inside a Python callback, and a thread of the library that ends needs it
// to delete its thread state. The callables the link holds take the lock as
// they are let go.
void closeAndDelete(MarlekLink* link, const std::shared_ptr<LinkPythonSide>& side)
{
    std::unique_lock<std::mutex> core;
    if (side) {
        side->joinLaterWork();
        // The exit hook may be closing this very link.
        core = std::unique_lock(side->coreMutex);
    }
    link->disconnect();
    delete link;
}

} // namespace

void LinkDeleter::operator()(MarlekLink* link) const
{
    link->setConnectionStatusCallback({});
    auto side = LinkPythonSide::forget(*link);
    if (!LinkPythonSide::onSessionThread()) {
        callWithoutInterpreterLock([&] { closeAndDelete(link, side); });
        return;
    }
    // Dropped inside one of its own callbacks: closing would wait for this
    // very thread, so it happens on a thread of its own. The interpreter's
    // exit waits for it.
    std::thread([link, side, entry = InterpreterEntry::enterFromInside()] { closeAndDelete(link, side); }).detach();
}

void init_link_job_wrap(py::module_& m)
{
    register_link_exception(m);
    register_event_handler_class(m);
    register_device_info_classes(m);
    register_resource_class(m);
    register_tls_classes(m);

    LinkClass link(m, "MarlekLink");
    add_link_connection_methods(link);
    add_link_job_methods(link);
    add_link_event_methods(link);
    add_link_resource_methods(link);
    add_link_tls_methods(link);

    register_link_exc_class(m);
}
