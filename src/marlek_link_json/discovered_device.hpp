#pragma once

#include <string>

// A workstation that answered a discovery probe: where to reach its link
// service.
struct DiscoveredDevice {
    // Sender address of the reply, dotted IPv4.
    std::string ip_address;
    // The link service's TCP port as decimal text.
    std::string port;
    // The workstation runs its recovery firmware.
    bool recovery_mode = false;

    friend bool operator==(const DiscoveredDevice&, const DiscoveredDevice&) = default;
};
