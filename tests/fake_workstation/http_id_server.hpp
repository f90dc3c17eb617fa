#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace fake_workstation {

enum class HttpIdBehaviour {
    // 200 "OK" with the configured body.
    ANSWER,
    // 404 "Not Found".
    NOT_FOUND,
    // The configured status with an empty reason phrase ("HTTP/1.1 503 ").
    NO_REASON_PHRASE,
    // Reads the request and then keeps the connection open without a word.
    NEVER_ANSWER,
    // Closes every connection as soon as it is accepted, reading nothing.
    CLOSE_AT_ONCE,
};

struct HttpIdServerOptions {
    HttpIdBehaviour behaviour = HttpIdBehaviour::ANSWER;
    // Defaults to the default workstation's identity reply.
    std::string body;
    unsigned status = 503;
    // The loopback address to listen on ("::1" for IPv6).
    std::string listenAddress = "127.0.0.1";
};

struct HttpRequestRecord {
    // "GET /id HTTP/1.1"
    std::string requestLine;
    // In the order received, names and values as sent.
    std::vector<std::pair<std::string, std::string>> headers;
};

// The fake workstation's plain HTTP/1.1 server for "/id" on 127.0.0.1 (or
// the address its options name) and an ephemeral port, on a thread of its own from construction to
// destruction. Records every request's line and headers.
class HttpIdServer {
public:
    explicit HttpIdServer(HttpIdServerOptions options = {});
    ~HttpIdServer();

    HttpIdServer(const HttpIdServer&) = delete;
    HttpIdServer& operator=(const HttpIdServer&) = delete;

    std::uint16_t port() const;
    std::vector<HttpRequestRecord> requests() const;
    std::size_t acceptedConnections() const;
    // True once at least `count` requests have been read.
    bool waitForRequests(std::size_t count, std::chrono::milliseconds timeout) const;

    // {"status":"SUCCESS","workstation":{...}} with the default identity.
    static std::string defaultIdBody();

private:
    struct Impl;
    std::unique_ptr<Impl> impl;
};

} // namespace fake_workstation
