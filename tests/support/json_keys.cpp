#include "support/json_keys.hpp"

#include <boost/json.hpp>

std::vector<std::string> keysOf(const boost::json::object& object)
{
    std::vector<std::string> keys;
    for (const auto& member : object) {
        keys.emplace_back(member.key());
    }
    return keys;
}

std::vector<std::string> keysOf(const boost::json::value& value)
{
    return keysOf(value.as_object());
}
