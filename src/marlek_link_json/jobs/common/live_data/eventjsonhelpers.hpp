#pragma once

#include <boost/json/fwd.hpp>
#include <boost/system/error_code.hpp>

#include <string_view>

// Recognise events inside recorded messages of the form
// {"type": "EVENT", "event": {"type": <event type>, ...}}.

// True when `message` is an event message whose event type equals
// `eventType` exactly. `ec` reports why a lookup failed.
bool isEventOfType(boost::system::error_code& ec, const boost::json::value& message, std::string_view eventType);

// The value at the JSON pointer `pointer` inside `message` when it is an
// event of `eventType`; null otherwise or when the pointer does not resolve.
const boost::json::value* findObjectInEvent(const boost::json::value& message, std::string_view eventType,
                                            std::string_view pointer);
