#pragma once

// An event handler made by one of the Python factories.

#include "marlek_link_py/callback_bridge.hpp"

#include "marlek_link_json/events/marleklinkeventhandler.hpp"

#include <memory>
#include <utility>

// The core's handler, plus the callable its raw callback calls, so that the
// handler's Python object can show it to the collector and clear it.
class PythonEventHandler : public MarlekLinkEventHandler {
public:
    PythonEventHandler(const MarlekLinkEventHandler& made, std::shared_ptr<PyCallableRef> callable)
        : MarlekLinkEventHandler(made.getEventType(), made.getRawCallback()), callable(std::move(callable))
    {
    }

    PyCallableRef& target() const { return *callable; }

private:
    std::shared_ptr<PyCallableRef> callable;
};
