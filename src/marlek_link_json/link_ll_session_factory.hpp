#pragma once

#include "marlek_link_json/abstract_link_ll_session.hpp"

#include <memory>
#include <string>
#include <string_view>

// Creates a fresh low-level session for every connect and disposes of it.
class LinkLlSessionAbstractFactory {
public:
    virtual ~LinkLlSessionAbstractFactory() = default;
    virtual AbstractLinkLlSession* createSession() = 0;
    // Destroys the session (null is ignored); disconnect it first.
    virtual void deleteSession(AbstractLinkLlSession* session) { delete session; }
};

// The factory of one concrete session type; it keeps what every new session
// of the connection is built from.
template <typename Session>
class LinkLlSessionFactory : public LinkLlSessionAbstractFactory {
public:
    LinkLlSessionFactory(std::string_view host, std::string_view port, unsigned flags,
                         std::string_view user, std::string_view password)
        : host(host), port(port), flags(flags), user(user), password(password)
    {
    }

    AbstractLinkLlSession* createSession() override
    {
        return new Session(host, port, flags, user, password);
    }

private:
    std::string host;
    std::string port;
    unsigned flags;
    std::string user;
    std::string password;
};

// The factory of TLS sessions when flags has USE_SSL, of plain ones otherwise.
// Lets the owner choose without including the WebSocket machinery.
std::unique_ptr<LinkLlSessionAbstractFactory> makeLinkLlSessionFactory(
    std::string_view host, std::string_view port, unsigned flags, std::string_view user,
    std::string_view password);
