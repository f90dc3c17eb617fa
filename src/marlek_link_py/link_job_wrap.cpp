// init_link_job_wrap: the link and the classes it takes and returns, in the
// order in which later classes may refer to them.

#include "marlek_link_py/init_wrap.hpp"
#include "marlek_link_py/link_python_side.hpp"
#include "marlek_link_py/link_wrap.hpp"

#include "marlek_link/marlek_link.hpp"

#include <pybind11/pybind11.h>

#include <thread>

namespace py = pybind11;

namespace {

void closeAndDelete(MarlekLink* link, const std::shared_ptr<LinkPythonSide>& side)
{
    {
        py::gil_scoped_release release;
        if (side) {
            side->joinLaterWork();
        }
        link->disconnect();
    }
    delete link;
}

} // namespace

void LinkDeleter::operator()(MarlekLink* link) const
{
    link->setConnectionStatusCallback({});
    auto side = LinkPythonSide::forget(*link);
    if (!LinkPythonSide::onSessionThread()) {
        closeAndDelete(link, side);
        return;
    }
    // Dropped inside one of its own callbacks: closing would wait for this
    // very thread, so it happens on a thread of its own once the callback
    // has returned.
    std::thread([link, side] {
        if (Py_IsFinalizing()) {
            return;
        }
        py::gil_scoped_acquire gil;
        closeAndDelete(link, side);
    }).detach();
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
