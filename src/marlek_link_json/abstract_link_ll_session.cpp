#include "marlek_link_json/abstract_link_ll_session.hpp"

#include "marlek_json_common/json_common/text/base64.hpp"

AbstractLinkLlSession::AbstractLinkLlSession(std::string_view host, std::string_view port,
                                             unsigned flags, std::string_view authorizationHeader)
    : flags(flags), host(host), port(port), authorizationHeader(authorizationHeader)
{
}

AbstractLinkLlSession::~AbstractLinkLlSession() = default;

std::string AbstractLinkLlSession::makeWwwAuthHeader(std::string_view user, std::string_view password)
{
    if (user.empty() && password.empty()) {
        return {};
    }
    std::string credentials;
    credentials.reserve(user.size() + 1 + password.size());
    credentials.append(user).append(":").append(password);
    return "Basic " + base64::encode(credentials);
}
