#include "marlek_json_common/json_common/protocol/json_members.hpp"

#include <boost/json.hpp>
#include <boost/system/system_error.hpp>

namespace jsonmembers {

std::string stringOrEmpty(const boost::json::object& object, std::string_view key)
{
    const auto* member = object.if_contains(key);
    if (member == nullptr || !member->is_string()) {
        return {};
    }
    return std::string(member->get_string());
}

void throwJsonError(boost::json::error error)
{
    throw boost::system::system_error(boost::json::make_error_code(error));
}

} // namespace jsonmembers
