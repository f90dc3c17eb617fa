#include "marlek_link_json/abstract_link_ll_session.hpp"

#include <boost/beast/core/detail/base64.hpp>

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

    namespace base64 = boost::beast::detail::base64;
    std::string encoded(base64::encoded_size(credentials.size()), '\0');
    encoded.resize(base64::encode(encoded.data(), credentials.data(), credentials.size()));
    return "Basic " + encoded;
}
