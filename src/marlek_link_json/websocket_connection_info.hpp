#pragma once

#include <boost/describe/class.hpp>

#include <cstdint>
#include <string>

// One WebSocket client connection as the workstation knows it. Times and
// addresses are the workstation's texts, passed on as received.
struct WebsocketConnectionInfo {
    std::string connection_id;
    std::string connected_since;
    std::string remote_addr;
    std::int32_t remote_port = 0;
    // The WebSocket target the client connected to.
    std::string target;
    std::string user_agent;
    bool using_tls = false;

    friend bool operator==(const WebsocketConnectionInfo&, const WebsocketConnectionInfo&) = default;
};
BOOST_DESCRIBE_STRUCT(WebsocketConnectionInfo, (),
                      (connection_id, connected_since, remote_addr, remote_port, target, user_agent, using_tls))
