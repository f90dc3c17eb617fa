#include "marlek_link_json/link_ll_session_factory.hpp"

#include "marlek_link_json/link_ll_session.hpp"
#include "marlek_link_json/link_ll_session_flags.hpp"
#include "marlek_link_json/link_ll_session_ssl.hpp"

std::unique_ptr<LinkLlSessionAbstractFactory> makeLinkLlSessionFactory(
    std::string_view host, std::string_view port, unsigned flags, std::string_view user,
    std::string_view password)
{
    if ((flags & MarlekLinkConnectionFlags::USE_SSL) != 0) {
        return std::make_unique<LinkLlSessionFactory<LinkLlSessionSsl>>(host, port, flags, user, password);
    }
    return std::make_unique<LinkLlSessionFactory<LinkLlSessionPlain>>(host, port, flags, user, password);
}
