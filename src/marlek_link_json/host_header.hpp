#pragma once

#include <string>
#include <string_view>

// The host as the HTTP "Host" header names it: an IPv6 address goes in
// brackets ("[::1]"), so that a port appended after a colon stays apart.
std::string hostHeaderText(std::string_view host);
