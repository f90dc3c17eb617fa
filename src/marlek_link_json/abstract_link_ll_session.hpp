#pragma once

#include "marlek_link_json/link_ll_session_status.hpp"

#include <chrono>
#include <functional>
#include <future>
#include <string>
#include <string_view>

class AbstractLinkLlSslImpl;

// One WebSocket connection to the workstation, plain or TLS, as its owner
// (the JSON session) sees it. Expected calling order: install the handlers and
// the status callback, set the connection time-out, configure the TLS object
// (getSsl), asyncConnect once, send while connected, disconnect once.
class AbstractLinkLlSession {
public:
    AbstractLinkLlSession(std::string_view host, std::string_view port, unsigned flags,
                          std::string_view authorizationHeader);
    virtual ~AbstractLinkLlSession();

    AbstractLinkLlSession(const AbstractLinkLlSession&) = delete;
    AbstractLinkLlSession& operator=(const AbstractLinkLlSession&) = delete;

    // Starts the worker thread and the connect sequence; the future carries
    // the outcome. Once it reads OK the status already reads CONNECTED.
    virtual std::future<MarlekLinkServiceStatusEnum> asyncConnect() = 0;
    virtual MarlekLinkServiceStatusEnum connect() = 0;
    // Closes the connection (close code 1000 after the queued messages) and
    // joins the worker thread. Harmless without a preceding connect; must not
    // be called from a handler or the status callback (they run on the worker).
    virtual void disconnect() = 0;
    // Queues one text message without waiting. False when the queue is full
    // (1024 messages), closed, or there is no connection attempt.
    virtual bool send(const std::string& message) = 0;
    virtual void setReceiveHandler(const std::function<void(std::string&&)>& handler) = 0;
    virtual void setReceiveBinaryHandler(const std::function<void(std::string&&)>& handler) = 0;
    virtual MarlekLinkConnectionStatusEnum getConnectionStatus() const = 0;
    virtual void setConnectionStatusCallback(
        const std::function<void(MarlekLinkConnectionStatusEnum)>& callback) = 0;
    // The TLS object, or null for a plain session.
    virtual AbstractLinkLlSslImpl* getSsl() = 0;

    const std::string& getHost() const { return host; }
    const std::string& getPort() const { return port; }
    unsigned getFlags() const { return flags; }
    const std::string& getAuthorizationHeader() const { return authorizationHeader; }

    // "Basic " + base64(user ":" password), or empty when both are empty.
    static std::string makeWwwAuthHeader(std::string_view user, std::string_view password);

    // Bounds name resolution, the TCP connect and the TLS handshake, each.
    // The owner writes its own value here before every connect.
    std::chrono::milliseconds connectionTimeout{1500};

protected:
    unsigned flags;
    std::string host;
    std::string port;
    std::string authorizationHeader;
};
