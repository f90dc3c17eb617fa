#include "marlek_link_json/link_json_session.hpp"

#include "marlek_link_json/events/marleklinkeventhandler.hpp"

#include <boost/json.hpp>

#include <exception>
#include <iostream>

namespace {

boost::json::parse_options incomingParseOptions()
{
    boost::json::parse_options options;
    options.max_depth = 32;
    options.numbers = boost::json::number_precision::precise;
    options.allow_comments = true;
    options.allow_trailing_commas = true;
    options.allow_invalid_utf8 = false;
    options.allow_invalid_utf16 = false;
    options.allow_infinity_and_nan = true;
    return options;
}

// The session whose event callbacks this thread is calling, with the handler
// lock held. Registrations those callbacks make on that session wait for
// the end of the dispatch instead of for the lock their own thread holds.
thread_local const LinkJsonSession* dispatchingEventsOf = nullptr;

class EventDispatchScope {
public:
    explicit EventDispatchScope(const LinkJsonSession* session) : previous(dispatchingEventsOf)
    {
        dispatchingEventsOf = session;
    }
    ~EventDispatchScope() { dispatchingEventsOf = previous; }
    EventDispatchScope(const EventDispatchScope&) = delete;
    EventDispatchScope& operator=(const EventDispatchScope&) = delete;

private:
    const LinkJsonSession* previous;
};

// One failing callback must not keep the message from the others.
void callEventCallback(const LinkJsonSession::EventCallback& callback, const boost::json::object& event)
{
    try {
        callback(event);
    } catch (const std::exception& e) {
        std::cerr << "event callback failed: " << e.what() << std::endl;
    } catch (...) {
        std::cerr << "event callback failed" << std::endl;
    }
}

} // namespace

void LinkJsonSession::dispatchIncommingJson(const std::string& text)
{
    // Whatever a message or a callback raises costs that message only: left
    // to escape, it would end the connection's receive loop.
    try {
        boost::system::error_code parseError;
        const boost::json::value message = boost::json::parse(text, parseError, {}, incomingParseOptions());
        if (parseError) {
            std::cerr << "issue parsing incomming json " << parseError.what() << std::endl;
            return;
        }
        boost::system::error_code pointerError;
        const boost::json::value* type = message.find_pointer("/type", pointerError);
        if (!type || !type->is_string() || !message.is_object()) {
            std::cerr << "missing property 'type'" << std::endl;
            return;
        }
        const boost::json::string& typeName = type->get_string();
        if (typeName == "EVENT") {
            handleEvent(message.get_object());
        } else if (typeName == "REPLY") {
            handleReply(message.get_object());
        } else if (typeName == "JOB_DONE") {
            handleJobDone(message.get_object());
        } else {
            std::cout << "received unknown type" << boost::json::serialize(*type) << std::endl;
        }
    } catch (const std::exception& e) {
        std::cerr << "issue handling incomming json " << e.what() << std::endl;
    } catch (...) {
        std::cerr << "issue handling incomming json" << std::endl;
    }
}

void LinkJsonSession::dispatchIncommingBinary(std::string&& data)
{
    if (inheritedByFork()) {
        return;
    }
    try {
        std::lock_guard lock(pendingDownloadMutex);
        if (!pendingDownload) {
            return;
        }
        // Cleared whatever the receiver does: a second message must not reach it.
        const auto receiver = std::move(pendingDownload);
        pendingDownload.reset();
        (*receiver)(std::move(data), std::nullopt);
    } catch (const std::exception& e) {
        std::cerr << "issue handling incomming binary message " << e.what() << std::endl;
    } catch (...) {
        std::cerr << "issue handling incomming binary message" << std::endl;
    }
}

void LinkJsonSession::handleReply(const boost::json::object& message)
{
    const auto* requestId = message.if_contains("request_id");
    if (requestId && requestId->is_string()) {
        resolvePendingRequest(requestId->get_string(), message);
    }
}

void LinkJsonSession::handleJobDone(const boost::json::object& message)
{
    const auto* requestId = message.if_contains("request_id");
    if (!requestId || !requestId->is_string()) {
        return;
    }
    resolvePendingJob(requestId->get_string(), message);
    callEventCallbacks(EventTypeEnum::JOB_DONE, message);
}

void LinkJsonSession::handleEvent(const boost::json::object& message)
{
    const auto* eventValue = message.if_contains("event");
    if (!eventValue || !eventValue->is_object()) {
        return;
    }
    const boost::json::object& event = eventValue->get_object();
    const auto* typeValue = event.if_contains("type");
    if (!typeValue || !typeValue->is_string()) {
        return;
    }
    const auto type = eventTypeFromName(typeValue->get_string());
    if (!type) {
        return;
    }
    callEventCallbacks(*type, event);
}

void LinkJsonSession::callEventCallbacks(EventTypeEnum type, const boost::json::object& message)
{
    if (inheritedByFork()) {
        return;
    }
    std::lock_guard lock(eventHandlersMutex);
    const auto handlers = eventHandlers.find(type);
    if (handlers == eventHandlers.end()) {
        return;
    }
    {
        const EventDispatchScope scope(this);
        for (const auto& callback : handlers->second) {
            if (callback && *callback) {
                callEventCallback(*callback, message);
            }
        }
    }
    // In the order made; a change may make more when it is applied.
    while (!deferredRegistrations.empty()) {
        auto changes = std::move(deferredRegistrations);
        deferredRegistrations.clear();
        for (auto& change : changes) {
            change();
        }
    }
}

void LinkJsonSession::changeEventHandlers(std::function<void()> change)
{
    if (inheritedByFork()) {
        return;
    }
    if (dispatchingEventsOf == this) {
        // The lock is held by this very thread, around the callback that
        // asks for the change.
        deferredRegistrations.push_back(std::move(change));
        return;
    }
    std::lock_guard lock(eventHandlersMutex);
    change();
}

void LinkJsonSession::setEventHandler(const std::shared_ptr<MarlekLinkEventHandler>& handler)
{
    changeEventHandlers([this, handler] {
        if (!handlerObjects.insert(handler).second) {
            std::cerr << "event handler already set" << std::endl;
            return;
        }
        eventHandlers[handler->getEventType()].insert(handler->getRawCallback());
    });
}

void LinkJsonSession::setEventHandler(EventTypeEnum type, const std::shared_ptr<EventCallback>& callback)
{
    changeEventHandlers([this, type, callback] { eventHandlers[type].insert(callback); });
}

void LinkJsonSession::clearEventHandler(const std::shared_ptr<MarlekLinkEventHandler>& handler)
{
    changeEventHandlers([this, handler] {
        handlerObjects.erase(handler);
        const auto handlers = eventHandlers.find(handler->getEventType());
        if (handlers != eventHandlers.end()) {
            handlers->second.erase(handler->getRawCallback());
        }
    });
}

void LinkJsonSession::clearEventHandler(EventTypeEnum type, const std::shared_ptr<EventCallback>& callback)
{
    changeEventHandlers([this, type, callback] {
        const auto handlers = eventHandlers.find(type);
        if (handlers != eventHandlers.end()) {
            handlers->second.erase(callback);
        }
    });
}
