#include "marlek_link_json/events/marleklinkeventhandler.hpp"

#include <utility>

MarlekLinkEventHandler::MarlekLinkEventHandler(EventTypeEnum type, std::shared_ptr<RawCallback>&& callback)
    : eventType(type), rawCallback(std::move(callback))
{
}
