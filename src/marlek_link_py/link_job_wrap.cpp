// init_link_job_wrap: the link and the classes it takes and returns, in the
// order in which later classes may refer to them.

#include "marlek_link_py/blocking_call.hpp"
#include "marlek_link_py/init_wrap.hpp"
#include "marlek_link_py/interpreter_entry.hpp"
#include "marlek_link_py/link_collection.hpp"
#include "marlek_link_py/link_python_side.hpp"
#include "marlek_link_py/link_wrap.hpp"

#include "marlek_link/marlek_link.hpp"

#include <pybind11/pybind11.h>

#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace py = pybind11;

namespace {

// Without the interpreter lock: the link's threads may be waiting for it
// inside a Python callback, and a thread of the library that ends needs it
// to delete its thread state. The callables the link holds take the lock as
// they are let go.
void closeAndDelete(MarlekLink* link, const std::shared_ptr<LinkPythonSide>& side)
{
    {
        // The exit hook may be closing this very link.
        std::lock_guard core(side->coreMutex);
        link->disconnect();
        side->linkGone = true;
    }
    delete link;
}

// A link of the parent in a child made by fork: its threads, and whatever
// they held, are the parent's. So the link goes without waiting for
// anything (the core leaks its session), and its side, whose mutex a thread
// of the parent may have held, is never destroyed. Under the interpreter
// lock, which guards the list.
void deleteInherited(MarlekLink* link, std::shared_ptr<LinkPythonSide> side)
{
    static auto* const inheritedSides = new std::vector<std::shared_ptr<LinkPythonSide>>();
    inheritedSides->push_back(std::move(side));
    delete link;
}

} // namespace

void LinkDeleter::operator()(MarlekLink* link) const
{
    auto side = LinkPythonSide::forget(*link);
    if (!side) {
        side = std::make_shared<LinkPythonSide>();
    }
    {
        // Let go of after the link's own copies, so that the last reference
        // to a callable never goes inside the library.
        const auto references = side->takePythonReferences();
        link->setConnectionStatusCallback({});
    }
    if (side->inherited()) {
        deleteInherited(link, std::move(side));
        return;
    }
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

    LinkClass link(m, "MarlekLink", py::custom_type_setup(takePartInCollection<MarlekLink>));
    add_link_connection_methods(link);
    add_link_job_methods(link);
    add_link_event_methods(link);
    add_link_resource_methods(link);
    add_link_tls_methods(link);

    register_link_exc_class(m);
}
