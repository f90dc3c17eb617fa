#pragma once

#include "marlek_link_json/events/event_type.hpp"

#include <boost/json/fwd.hpp>

#include <functional>
#include <memory>

// Binds one event type to one raw callback that takes the event's JSON
// object (for JOB_DONE: the whole completion message). Immutable, so one
// handler may be registered with several sessions at once; sessions tell
// registrations apart by the handler's and the callback's identity.
class MarlekLinkEventHandler {
public:
    using RawCallback = std::function<void(const boost::json::object&)>;

    MarlekLinkEventHandler(EventTypeEnum type, std::shared_ptr<RawCallback>&& callback);

    std::shared_ptr<RawCallback> getRawCallback() const { return rawCallback; }
    EventTypeEnum getEventType() const { return eventType; }

private:
    EventTypeEnum eventType;
    std::shared_ptr<RawCallback> rawCallback;
};
