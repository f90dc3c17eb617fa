#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace fake_workstation {

using Datagram = std::vector<std::uint8_t>;

struct UdpResponderOptions {
    // Listening on the loopback broadcast address (127.255.255.255) lets
    // several responders on one port hear the same probe.
    std::string listenAddress = "127.0.0.1";
    // 0 picks a free port; two responders share one port when the second is
    // given the first one's.
    std::uint16_t port = 0;
    // When set, answers leave from a socket of their own bound to this
    // address; required when listening on a broadcast address, which cannot
    // be a sender.
    std::string answerFromAddress;
    // Sent back to the sender of every datagram received, in this order.
    std::vector<Datagram> answers{{0xA2, 0x07}};
};

struct UdpProbe {
    Datagram bytes;
    std::string senderAddress;
    std::uint16_t senderPort = 0;
};

// The discovery side of the fake workstation: records every datagram it
// receives and answers each with the configured datagrams. Runs on a thread
// of its own from construction to destruction.
class UdpResponder {
public:
    explicit UdpResponder(UdpResponderOptions options = {});
    ~UdpResponder();

    UdpResponder(const UdpResponder&) = delete;
    UdpResponder& operator=(const UdpResponder&) = delete;

    std::uint16_t port() const;
    std::vector<UdpProbe> probes() const;
    // True once at least `count` datagrams have arrived.
    bool waitForProbes(std::size_t count, std::chrono::milliseconds timeout) const;
    void setAnswers(std::vector<Datagram> answers);

private:
    struct Impl;
    std::unique_ptr<Impl> impl;
};

} // namespace fake_workstation
