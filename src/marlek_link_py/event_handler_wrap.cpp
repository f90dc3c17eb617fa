// MarlekLinkEventHandler: one handler per kind of event, made by ten static
// factories from a Python callable, which the core then calls on the
// connection's worker thread through a PyCallback.

#include "marlek_link_py/callback_bridge.hpp"
#include "marlek_link_py/constructed_instance.hpp"
#include "marlek_link_py/docstring.hpp"
#include "marlek_link_py/link_wrap.hpp"
#include "marlek_link_py/python_event_handler.hpp"

#include "marlek_json_common/json_common/protocol/livedataheader.hpp"
#include "marlek_json_common/json_common/protocol/livedataheadereis.hpp"
#include "marlek_link_json/events/marleklinkeventhandler.hpp"
#include "marlek_link_json/jobs/ac/live_data/livedataroweis.hpp"
#include "marlek_link_json/jobs/ac/live_data/livedatawaveseis.hpp"
#include "marlek_link_json/jobs/common/jobinfo.hpp"

#include <pybind11/native_enum.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>
#include <pybind11/typing.h>

#include <memory>
#include <string>
#include <vector>

namespace py = pybind11;

namespace {

using Handler = std::shared_ptr<PythonEventHandler>;
using HandlerClass = py::class_<PythonEventHandler, Handler>;
using Rows = std::vector<std::vector<double>>;

// What a callback receives, as its signature shows it: the rows arrive as
// new lists of floats, not as any sequence a caller might pass.
template <typename T>
struct Received {
    using type = T;
};
template <>
struct Received<const Rows&> {
    using type = py::typing::List<py::typing::List<py::float_>>;
};

#define MARLEK_RETURNS_HANDLER "    :returns: event handler to pass to :meth:`MarlekLink.set_event_handler`\n"

// Registers one factory: the Python callable becomes a PyCallback of the
// core factory's argument types.
template <typename... Args>
void addFactory(HandlerClass& cls, const char* name,
                std::shared_ptr<MarlekLinkEventHandler> (*coreFactory)(const std::function<void(Args...)>&),
                const char* doc)
{
    cls.def_static(
        name,
        [coreFactory](const py::typing::Callable<void(typename Received<Args>::type...)>& callback) {
            auto callable = std::make_shared<PyCallableRef>(callback);
            const auto made = coreFactory(PyCallback<Args...>(callable));
            return std::make_shared<PythonEventHandler>(*made, std::move(callable));
        },
        py::arg("callback"), doc);
}

// The handler's object owns the reference to its callable, whoever else
// holds the handler (links, sessions): a link whose callable refers back to
// it is then a cycle the collector sees (the link reports the handler
// objects it keeps registered).
int traverseHandler(PyObject* self, visitproc visit, void* arg)
{
    Py_VISIT(Py_TYPE(self));
    const PythonEventHandler* const handler = constructedInstance<PythonEventHandler>(self);
    return handler ? handler->target().traverse(visit, arg) : 0;
}

int clearHandler(PyObject* self)
{
    if (PythonEventHandler* const handler = constructedInstance<PythonEventHandler>(self)) {
        handler->target().clear();
    }
    return 0;
}

void takePartInCollection(PyHeapTypeObject* heapType)
{
    PyTypeObject* const type = &heapType->ht_type;
    type->tp_flags |= Py_TPFLAGS_HAVE_GC;
    type->tp_traverse = traverseHandler;
    type->tp_clear = clearHandler;
}

} // namespace

void register_event_handler_class(py::module_& m)
{
    HandlerClass cls(m, "MarlekLinkEventHandler", py::custom_type_setup(takePartInCollection));
    addFactory(cls, "make_live_data_header_event_handler", &MarlekLinkEventHandler::makeLiveDataHeaderEventHandler,
               "\n    Create an event handler for DC live data headers.\n\n"
               "    :param callback: called with (LiveDataHeader, JobInfo)\n" MARLEK_RETURNS_HANDLER);
    addFactory(cls, "make_live_data_header_eis_event_handler",
               &MarlekLinkEventHandler::makeLiveDataHeaderEisEventHandler,
               "\n    Create an event handler for EIS live data headers.\n\n"
               "    :param callback: called with (LiveDataHeaderEis, JobInfo)\n" MARLEK_RETURNS_HANDLER);
    addFactory(cls, "make_live_data_rows_event_handler", &MarlekLinkEventHandler::makeLiveDataRowsEventHandler,
               "\n    Create an event handler for DC live data rows.\n\n"
               "    The rows are described by the event "
               ":meth:`MarlekLinkEventHandler.make_live_data_header_event_handler`.\n\n"
               "    :param callback: called with the rows, a list of lists of float\n" MARLEK_RETURNS_HANDLER);
    addFactory(cls, "make_live_data_row_eis_event_handler", &MarlekLinkEventHandler::makeLiveDataRowEisEventHandler,
               "\n    Create an event handler for EIS live data rows.\n\n"
               "    The rows are described by the event "
               ":meth:`MarlekLinkEventHandler.make_live_data_header_eis_event_handler`.\n\n"
               "    :param callback: called with (LiveDataRowEis)\n" MARLEK_RETURNS_HANDLER);
    addFactory(cls, "make_live_data_wave_event_handler", &MarlekLinkEventHandler::makeLiveDataWaveEventHandler,
               "\n    Create an event handler for EIS live data waves.\n\n"
               "    The events deliver fragments of the wave being recorded, for showing the running\n"
               "    measurement; the result dataset does not need them. Each fragment tells where it sits in\n"
               "    the complete wave (see :class:`marlek_link.LiveDataWavesEis`).\n\n"
               "    :param callback: called with (LiveDataWavesEis)\n" MARLEK_RETURNS_HANDLER);
    addFactory(cls, "make_live_data_finished_event_handler",
               &MarlekLinkEventHandler::makeLiveDataFinishedEventHandler,
               "\n    Create an event handler for live data finished events.\n\n"
               "    :param callback: called with (JobInfo)\n" MARLEK_RETURNS_HANDLER);
    addFactory(cls, "make_job_done_event_handler", &MarlekLinkEventHandler::makeJobDoneEventHandler,
               "\n    Create an event handler for job done events.\n\n"
               "    The event is sent once the job has left the queue, whether or not it finished\n"
               "    successfully; unlike the handler of :meth:`make_live_data_finished_event_handler` it also\n"
               "    comes for jobs that produce no live data.\n\n"
               "    :param callback: called with (JobInfo)\n" MARLEK_RETURNS_HANDLER);
    addFactory(cls, "make_job_status_update_event_handler",
               &MarlekLinkEventHandler::makeJobStatusUpdateEventHandler,
               "\n    Create an event handler for job status updates.\n\n"
               "    :param callback: called with (JobStatusEnum, JobInfo)\n" MARLEK_RETURNS_HANDLER);
    addFactory(cls, "make_job_log_message_event_handler", &MarlekLinkEventHandler::makeJobLogMessageEventHandler,
               "\n    Create an event handler for job-specific log messages.\n\n"
               "    :param callback: called with (job_id, severity, datetime, message)\n" MARLEK_RETURNS_HANDLER);
    addFactory(cls, "make_log_message_event_handler", &MarlekLinkEventHandler::makeLogMessageEventHandler,
               "\n    Create an event handler for device log messages.\n\n"
               "    :param callback: called with (severity, datetime, message)\n" MARLEK_RETURNS_HANDLER);
    cls.def("get_type", &MarlekLinkEventHandler::getEventType,
            "\n    Get the event for which this handler was created.\n\n"
            "    :returns: the :class:`marlek_link.EventTypeEnum` of the factory method which created the handler\n");
}
