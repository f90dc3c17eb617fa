#pragma once

#include "marlek_json_common/json_common/logging/error_object.hpp"

#include <boost/json/fwd.hpp>

#include <chrono>
#include <expected>
#include <stop_token>
#include <string>
#include <string_view>

// One plain HTTP/1.1 GET, used to read a workstation's identity from "/id"
// without a WebSocket session. No TLS, no credentials.
class HttpFetcher {
public:
    HttpFetcher() = delete;

    // The body of a 200 response, or the error of the step that failed.
    // Blocks until the exchange has ended; the network work runs on a thread
    // of its own. A time-out of 0 sets no limit.
    static std::expected<std::string, ErrorObject> getJson(std::string_view target, std::string_view host,
                                                           std::string_view port, std::chrono::milliseconds timeout);
    // A stop request ends the exchange where it waits (name resolution, TCP
    // connect, request or response) with STOPPED_MANUALLY.
    static std::expected<std::string, ErrorObject> getJson(std::string_view target, std::string_view host,
                                                           std::string_view port, std::chrono::milliseconds timeout,
                                                           std::stop_token stop);

    // {"type":"REPLY","status":"FAILED","error":error}: a failed reply shaped
    // like one of the WebSocket protocol.
    static std::string makeErrorJsonReply(const boost::json::object&& error);
};
