#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Where a discovery probes from and to. The default is the production
// behaviour: every local IPv4 address, limited broadcast to the workstations'
// discovery port. Tests narrow it to loopback addresses and a responder on a
// port of their own.
struct DiscoveryScope {
    static constexpr std::uint16_t workstationDiscoveryPort = 1995;

    // Local addresses to send a probe from; unset means the machine's own
    // (AutoDiscovery::getLocalInterfaceAddresses).
    std::optional<std::vector<std::string>> localAddresses;
    std::string targetAddress = "255.255.255.255";
    std::uint16_t targetPort = workstationDiscoveryPort;
};
