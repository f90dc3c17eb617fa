#pragma once

#include "support/json_error_expectation.hpp"
#include "support/json_keys.hpp"

#include <boost/json.hpp>

namespace json = boost::json;

// Serialises and parses again, the way a record travels over the wire: an
// unsigned integer that fits comes back as a signed one.
inline json::value throughText(const json::value& value)
{
    return json::parse(json::serialize(value));
}
