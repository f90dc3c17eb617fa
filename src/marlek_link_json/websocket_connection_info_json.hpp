#pragma once

#include "marlek_link_json/websocket_connection_info.hpp"

#include <boost/json/conversion.hpp>
#include <boost/json/fwd.hpp>

// Strict: an object holding every member with a value of its kind (the port
// within 32 bits), else boost::system::system_error with the first failing
// member's code.
WebsocketConnectionInfo tag_invoke(const boost::json::value_to_tag<WebsocketConnectionInfo>&,
                                   const boost::json::value& source);
