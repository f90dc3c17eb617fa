#include "marlek_link_json/auto_discovery.hpp"

#include "marlek_link_json/clock_deadline.hpp"
#include "marlek_link_json/fork_generation.hpp"
#include "marlek_link_json/inherited_objects.hpp"

#include <boost/asio/as_tuple.hpp>
#include <boost/asio/co_spawn.hpp>
#include <boost/asio/detached.hpp>
#include <boost/asio/experimental/awaitable_operators.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/host_name.hpp>
#include <boost/asio/ip/udp.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/asio/use_awaitable.hpp>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <iostream>
#include <optional>
#include <set>
#include <span>
#include <utility>

namespace asio = boost::asio;
using asio::ip::udp;
using namespace asio::experimental::awaitable_operators;

namespace {

constexpr std::array<std::uint8_t, 3> discoveryProbe{0xCA, 0xFF, 0xEE};
constexpr std::size_t maxReplySize = 1024;

// Connecting a UDP socket here sends nothing; it only lets the system pick the
// interface it would route through. Any address outside the local networks
// serves.
constexpr const char* outsideAddress = "8.8.8.8";
constexpr unsigned short outsidePort = 53;

constexpr auto noThrow = asio::as_tuple(asio::use_awaitable);

struct DiscoveryReply {
    std::uint16_t port;
    bool recoveryMode;
};

std::optional<DiscoveryReply> parseReply(std::span<const std::uint8_t> datagram)
{
    if (datagram.size() != 2 && datagram.size() != 3) {
        return std::nullopt;
    }
    const auto port = static_cast<std::uint16_t>(datagram[0] | (datagram[1] << 8));
    const bool recovery = datagram.size() == 3 && (datagram[2] & 0x01) != 0;
    return DiscoveryReply{port, recovery};
}

// What all listeners of one run collect; they share one thread, so no lock.
struct DiscoveryFindings {
    std::vector<DiscoveredDevice> devices;
    std::set<std::pair<std::string, std::uint16_t>> seen;

    void add(const std::string& address, const DiscoveryReply& reply)
    {
        if (seen.emplace(address, reply.port).second) {
            devices.push_back(DiscoveredDevice{address, std::to_string(reply.port), reply.recoveryMode});
        }
    }
};

asio::awaitable<void> listen(std::string localAddress, udp::endpoint target,
                             std::chrono::milliseconds timeout, DiscoveryFindings& findings)
{
    boost::system::error_code ec;
    const auto local = asio::ip::make_address_v4(localAddress, ec);
    if (ec) {
        co_return;
    }
    udp::socket socket(co_await asio::this_coro::executor);
    socket.open(udp::v4(), ec);
    if (ec) {
        co_return;
    }
    // Neither option is essential to receiving an answer, so a refusal does
    // not stop this interface.
    socket.set_option(asio::socket_base::reuse_address(true), ec);
    socket.set_option(asio::socket_base::broadcast(true), ec);
    socket.bind(udp::endpoint(local, 0), ec);
    if (ec) {
        co_return;
    }
    const auto [sendError, sent] = co_await socket.async_send_to(asio::buffer(discoveryProbe), target, noThrow);
    if (sendError) {
        co_return;
    }

    asio::steady_timer deadline(socket.get_executor(), deadlineFromNow(timeout));
    std::array<std::uint8_t, maxReplySize> buffer{};
    udp::endpoint sender;
    for (;;) {
        auto outcome = co_await (socket.async_receive_from(asio::buffer(buffer), sender, noThrow)
                                 || deadline.async_wait(noThrow));
        if (outcome.index() == 1) {
            co_return;
        }
        const auto [receiveError, size] = std::get<0>(outcome);
        if (receiveError) {
            // Waiting out the deadline instead of receiving again keeps a
            // socket that fails at once from spinning.
            co_await deadline.async_wait(noThrow);
            co_return;
        }
        if (const auto reply = parseReply(std::span(buffer.data(), size))) {
            findings.add(sender.address().to_string(), *reply);
        }
    }
}

std::vector<DiscoveredDevice> discoverWithin(std::chrono::milliseconds timeout, const DiscoveryScope& scope,
                                             const std::stop_token& stop)
{
    const auto addresses = scope.localAddresses ? *scope.localAddresses : AutoDiscovery::getLocalInterfaceAddresses();
    if (addresses.empty()) {
        return {};
    }
    boost::system::error_code ec;
    const auto targetAddress = asio::ip::make_address_v4(scope.targetAddress, ec);
    if (ec) {
        return {};
    }
    const udp::endpoint target(targetAddress, scope.targetPort);

    asio::io_context context;
    DiscoveryFindings findings;
    for (const auto& address : addresses) {
        asio::co_spawn(context, listen(address, target, timeout, findings), asio::detached);
    }
    // Stopping the context leaves the listeners where they wait; what they
    // have found is kept.
    const std::stop_callback onStop(stop, [&context] { context.stop(); });
    context.run();
    return std::move(findings.devices);
}

} // namespace

AutoDiscovery::AutoDiscovery(std::chrono::milliseconds timeout)
    : AutoDiscovery(timeout, DiscoveryScope{})
{
}

AutoDiscovery::AutoDiscovery(std::chrono::milliseconds timeout, DiscoveryScope scope)
    : discoveryTimeout(timeout)
    , scope(std::move(scope))
{
}

// The worker is a jthread: its destruction requests a stop and joins, and the
// stop request does not cut a running discovery short.
AutoDiscovery::~AutoDiscovery()
{
    forgetInheritedWorker();
}

void AutoDiscovery::forgetInheritedWorker()
{
    if (worker.joinable() && workerForkGeneration != forkGeneration()) {
        keepInheritedForever(std::make_shared<std::jthread>(std::move(worker)));
    }
}

std::vector<DiscoveredDevice> AutoDiscovery::discover() const
{
    return runDiscovery();
}

std::vector<DiscoveredDevice> AutoDiscovery::discover(std::stop_token stop) const
{
    return discoverWithin(discoveryTimeout, scope, stop);
}

std::vector<DiscoveredDevice> AutoDiscovery::runDiscovery() const
{
    return discoverWithin(discoveryTimeout, scope, std::stop_token());
}

void AutoDiscovery::discoverAsync(std::function<void(std::vector<DiscoveredDevice>)> callback)
{
    forgetInheritedWorker();
    // Move-assigning a jthread stops and joins the previous worker, after the
    // new one has started.
    workerForkGeneration = forkGeneration();
    worker = std::jthread([this, callback = std::move(callback)] {
        auto devices = runDiscovery();
        if (!callback) {
            return;
        }
        // An escaping exception would end the caller's whole program from a
        // thread it does not own.
        try {
            callback(std::move(devices));
        } catch (const std::exception& e) {
            std::cerr << "discovery callback raised: " << e.what() << '\n';
        } catch (...) {
            std::cerr << "discovery callback raised an unknown exception\n";
        }
    });
}

std::vector<std::string> AutoDiscovery::getLocalInterfaceAddresses()
{
    std::vector<std::string> addresses;
    auto keep = [&addresses](const asio::ip::address& address) {
        if (!address.is_v4() || address.is_loopback()) {
            return;
        }
        auto text = address.to_string();
        if (std::ranges::find(addresses, text) == addresses.end()) {
            addresses.push_back(std::move(text));
        }
    };

    asio::io_context context;
    boost::system::error_code ec;
    const auto host = asio::ip::host_name(ec);
    if (!ec && !host.empty()) {
        udp::resolver resolver(context);
        const auto results = resolver.resolve(udp::v4(), host, "", ec);
        if (!ec) {
            for (const auto& entry : results) {
                keep(entry.endpoint().address());
            }
        }
    }

    if (addresses.empty()) {
        udp::socket socket(context);
        socket.open(udp::v4(), ec);
        if (!ec) {
            socket.connect(udp::endpoint(asio::ip::make_address_v4(outsideAddress), outsidePort), ec);
        }
        if (!ec) {
            const auto local = socket.local_endpoint(ec);
            if (!ec) {
                keep(local.address());
            }
        }
    }
    return addresses;
}
