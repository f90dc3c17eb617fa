#pragma once

#include "marlek_json_common/json_common/logging/error_object.hpp"

#include <boost/json/conversion.hpp>
#include <boost/json/fwd.hpp>

// {"number", "code", "message", "message_parameters"} in this order.
void tag_invoke(const boost::json::value_from_tag&, boost::json::value& target, const ErrorObject& error);

// Never throws on content: anything malformed reads as UNKNOWN_ERR
// "an unknown error occured".
ErrorObject tag_invoke(const boost::json::value_to_tag<ErrorObject>&, const boost::json::value& source);
