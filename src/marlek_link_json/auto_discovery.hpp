#pragma once

#include "marlek_link_json/discovered_device.hpp"
#include "marlek_link_json/discovery_scope.hpp"

#include <chrono>
#include <cstdint>
#include <functional>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

// Finds workstations on the local network: a probe is broadcast from every
// local IPv4 address and answers are collected until the time-out has
// elapsed. Failures are never reported; a machine without a usable address
// simply finds nothing.
class AutoDiscovery {
public:
    // Any time-out is kept: one of 0 or below ends a discovery at once, one
    // beyond the steady clock's range never ends it.
    explicit AutoDiscovery(std::chrono::milliseconds timeout);
    // Probes within the given scope instead of the local network.
    AutoDiscovery(std::chrono::milliseconds timeout, DiscoveryScope scope);
    // Waits for a running asynchronous discovery to end (at most about the
    // time-out); in a child made by fork, not for one the parent started.
    ~AutoDiscovery();

    AutoDiscovery(const AutoDiscovery&) = delete;
    AutoDiscovery& operator=(const AutoDiscovery&) = delete;

    // Blocks for about the time-out.
    std::vector<DiscoveredDevice> discover() const;
    // A stop request ends the discovery early, with the devices found so far.
    std::vector<DiscoveredDevice> discover(std::stop_token stop) const;
    std::vector<DiscoveredDevice> runDiscovery() const;

    // Runs a discovery on a thread of its own and hands the result to the
    // callback on that thread. A previous asynchronous discovery still
    // running is waited for after the new one has started, unless the parent
    // of a child made by fork started it: that thread stayed in the parent.
    void discoverAsync(std::function<void(std::vector<DiscoveredDevice>)> callback);

    static std::vector<std::string> getLocalInterfaceAddresses();

private:
    std::chrono::milliseconds discoveryTimeout;
    // Lets go of a worker that a child made by fork inherited, without
    // stopping or joining it.
    void forgetInheritedWorker();

    DiscoveryScope scope;
    std::jthread worker;
    // Of the process that started the worker.
    std::uint64_t workerForkGeneration = 0;
};
