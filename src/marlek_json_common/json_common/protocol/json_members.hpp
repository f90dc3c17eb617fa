#pragma once
// Small helpers shared by the tolerant JSON readers of the protocol records.

#include <boost/json/error.hpp>
#include <boost/json/fwd.hpp>

#include <string>
#include <string_view>

namespace jsonmembers {

// The member's text when it is present and a JSON string, else empty.
std::string stringOrEmpty(const boost::json::object& object, std::string_view key);

// Raises Boost.JSON's error code as boost::system::system_error, the way its
// own throwing conversions report.
[[noreturn]] void throwJsonError(boost::json::error error);

} // namespace jsonmembers
