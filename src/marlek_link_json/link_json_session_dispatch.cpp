#include "marlek_link_json/link_json_session.hpp"

#include "marlek_link_json/events/marleklinkeventhandler.hpp"

#include <boost/json.hpp>

#include <exception>
#include <iostream>
#include <utility>

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
        // Taken out whatever the receiver does, so that a second message
        // cannot reach it; called outside the lock.
        std::shared_ptr<DownloadCallback> receiver;
        {
            std::lock_guard lock(pendingDownloadMutex);
            receiver = std::exchange(pendingDownload, nullptr);
        }
        if (receiver && *receiver) {
            (*receiver)(std::move(data), std::nullopt);
        }
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
    // Declared before the lock, so that they go after it is released.
    Released released;
    std::vector<HandlerChange> applied;
    std::unique_lock lock(eventHandlersMutex);
    const auto handlers = eventHandlers.find(type);
    if (handlers != eventHandlers.end()) {
        const EventDispatchScope scope(this);
        for (const auto& callback : handlers->second) {
            if (callback && *callback) {
                callEventCallback(*callback, message);
            }
        }
    }
    // In the order made; a change may make more when it is applied.
    while (!deferredRegistrations.empty()) {
        auto changes = std::exchange(deferredRegistrations, {});
        for (auto& change : changes) {
            change(released);
            applied.push_back(std::move(change));
        }
    }
    lock.unlock();
}

void LinkJsonSession::changeEventHandlers(HandlerChange change)
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
    Released released;
    std::lock_guard lock(eventHandlersMutex);
    change(released);
    // The lock goes first, then what the change took out.
}

void LinkJsonSession::setEventHandler(const std::shared_ptr<MarlekLinkEventHandler>& handler)
{
    changeHandlerObject(handler, true, std::nullopt);
}

void LinkJsonSession::setEventHandler(const std::shared_ptr<MarlekLinkEventHandler>& handler,
                                      std::uint64_t registration)
{
    changeHandlerObject(handler, true, registration);
}

void LinkJsonSession::setEventHandler(EventTypeEnum type, const std::shared_ptr<EventCallback>& callback)
{
    changeEventHandlers([this, type, callback](Released&) { eventHandlers[type].insert(callback); });
}

void LinkJsonSession::clearEventHandler(const std::shared_ptr<MarlekLinkEventHandler>& handler)
{
    changeHandlerObject(handler, false, std::nullopt);
}

void LinkJsonSession::clearEventHandler(const std::shared_ptr<MarlekLinkEventHandler>& handler,
                                        std::uint64_t registration)
{
    changeHandlerObject(handler, false, registration);
}

void LinkJsonSession::changeHandlerObject(const std::shared_ptr<MarlekLinkEventHandler>& handler, bool registered,
                                          std::optional<std::uint64_t> registration)
{
    changeEventHandlers([this, handler, registered, registration](Released& released) {
        if (registration) {
            auto [latest, first] = appliedRegistrations.try_emplace(handler.get(), *registration);
            if (!first) {
                if (latest->second > *registration) {
                    return;
                }
                latest->second = *registration;
            }
        }
        if (!registered) {
            if (auto removed = handlerObjects.extract(handler)) {
                released.push_back(std::move(removed.value()));
            }
            const auto handlers = eventHandlers.find(handler->getEventType());
            if (handlers != eventHandlers.end()) {
                if (auto removed = handlers->second.extract(handler->getRawCallback())) {
                    released.push_back(std::move(removed.value()));
                }
            }
            return;
        }
        if (!handlerObjects.insert(handler).second) {
            std::cerr << "event handler already set" << std::endl;
            return;
        }
        eventHandlers[handler->getEventType()].insert(handler->getRawCallback());
    });
}

void LinkJsonSession::clearEventHandler(EventTypeEnum type, const std::shared_ptr<EventCallback>& callback)
{
    changeEventHandlers([this, type, callback](Released& released) {
        const auto handlers = eventHandlers.find(type);
        if (handlers != eventHandlers.end()) {
            if (auto removed = handlers->second.extract(callback)) {
                released.push_back(std::move(removed.value()));
            }
        }
    });
}
