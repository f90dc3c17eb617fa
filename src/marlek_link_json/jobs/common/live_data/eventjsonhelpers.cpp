#include "marlek_link_json/jobs/common/live_data/eventjsonhelpers.hpp"

#include <boost/json.hpp>

namespace {

bool stringAtEquals(boost::system::error_code& ec, const boost::json::value& message, std::string_view pointer,
                    std::string_view expected)
{
    const auto* found = message.find_pointer(pointer, ec);
    return found != nullptr && found->is_string() && found->get_string() == expected;
}

} // namespace

bool isEventOfType(boost::system::error_code& ec, const boost::json::value& message, std::string_view eventType)
{
    ec.clear();
    return stringAtEquals(ec, message, "/type", "EVENT") && stringAtEquals(ec, message, "/event/type", eventType);
}

const boost::json::value* findObjectInEvent(const boost::json::value& message, std::string_view eventType,
                                            std::string_view pointer)
{
    boost::system::error_code ec;
    if (!isEventOfType(ec, message, eventType)) {
        return nullptr;
    }
    boost::system::error_code lookup;
    return message.find_pointer(pointer, lookup);
}
