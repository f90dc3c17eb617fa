#include "marlek_link_json/host_header.hpp"

std::string hostHeaderText(std::string_view host)
{
    // Only an IPv6 address holds a colon; one already in brackets stays.
    if (host.find(':') == std::string_view::npos || host.starts_with('[')) {
        return std::string(host);
    }
    return "[" + std::string(host) + "]";
}
