#include "marlek_link_json/auto_discovery.hpp"

#include "fake_workstation/udp_responder.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <future>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <stop_token>
#include <ostream>
#include <thread>
#include <tuple>

using namespace std::chrono_literals;
using fake_workstation::Datagram;
using fake_workstation::UdpResponder;
using fake_workstation::UdpResponderOptions;

namespace {

constexpr auto listenTime = 200ms;
// Generous, so a loaded machine does not fail a test that only checks that a
// call does not wait far beyond its time-out.
constexpr auto slack = 2s;
const Datagram probe{0xCA, 0xFF, 0xEE};

DiscoveryScope loopbackScope(std::uint16_t port, std::vector<std::string> localAddresses = {"127.0.0.1"})
{
    return DiscoveryScope{std::move(localAddresses), "127.0.0.1", port};
}

std::chrono::steady_clock::duration timed(auto&& call)
{
    const auto start = std::chrono::steady_clock::now();
    call();
    return std::chrono::steady_clock::now() - start;
}

std::vector<DiscoveredDevice> sorted(std::vector<DiscoveredDevice> devices)
{
    std::ranges::sort(devices, {}, [](const DiscoveredDevice& d) { return std::tie(d.ip_address, d.port); });
    return devices;
}

struct ReplyCase {
    const char* name;
    std::vector<Datagram> answers;
    std::vector<DiscoveredDevice> expected;
};

void PrintTo(const ReplyCase& c, std::ostream* os) { *os << c.name; }

class DiscoveryReplies : public testing::TestWithParam<ReplyCase> {};

} // namespace

TEST_P(DiscoveryReplies, BecomeDevicesFromTheSenderAddress)
{
    UdpResponder responder({.answers = GetParam().answers});
    const AutoDiscovery discovery(listenTime, loopbackScope(responder.port()));

    EXPECT_EQ(discovery.discover(), GetParam().expected);

    const auto probes = responder.probes();
    ASSERT_EQ(probes.size(), 1u);
    EXPECT_EQ(probes[0].bytes, probe);
    EXPECT_EQ(probes[0].senderAddress, "127.0.0.1");
}

INSTANTIATE_TEST_SUITE_P(
    AutoDiscovery, DiscoveryReplies,
    testing::Values(
        ReplyCase{"TwoBytesLittleEndianPort", {{0xA2, 0x07}}, {{"127.0.0.1", "1954", false}}},
        ReplyCase{"ThirdByteBitZeroIsRecovery", {{0xA2, 0x07, 0x01}}, {{"127.0.0.1", "1954", true}}},
        ReplyCase{"ThirdByteOtherBitsIgnored", {{0xA2, 0x07, 0x02}}, {{"127.0.0.1", "1954", false}}},
        ReplyCase{"ThirdByteAllBitsSet", {{0xA2, 0x07, 0xFF}}, {{"127.0.0.1", "1954", true}}},
        ReplyCase{"HighestPort", {{0xFF, 0xFF}}, {{"127.0.0.1", "65535", false}}},
        ReplyCase{"PortTextWithoutLeadingZeros", {{0x05, 0x00}}, {{"127.0.0.1", "5", false}}},
        ReplyCase{"EmptyDatagramIgnored", {{}}, {}},
        ReplyCase{"OneByteIgnored", {{0xA2}}, {}},
        ReplyCase{"FourBytesIgnored", {{0xA2, 0x07, 0x01, 0x00}}, {}},
        ReplyCase{"IgnoredDatagramsDoNotEndListening",
                  {{0xA2}, Datagram(1024, 0x01), Datagram(1500, 0x01), {0xA2, 0x07, 0x01}},
                  {{"127.0.0.1", "1954", true}}},
        ReplyCase{"SamePortTwiceListedOnceFirstWins",
                  {{0xA2, 0x07}, {0xA2, 0x07, 0x01}},
                  {{"127.0.0.1", "1954", false}}},
        ReplyCase{"TwoPortsBehindOneAddressListedTwice",
                  {{0xA2, 0x07}, {0xA3, 0x07, 0x01}},
                  {{"127.0.0.1", "1954", false}, {"127.0.0.1", "1955", true}}}),
    [](const testing::TestParamInfo<ReplyCase>& info) { return info.param.name; });

TEST(AutoDiscovery, WorkstationReachedFromTwoInterfacesIsListedOnce)
{
    UdpResponder responder;
    const AutoDiscovery discovery(listenTime, loopbackScope(responder.port(), {"127.0.0.1", "127.0.0.2"}));

    EXPECT_EQ(discovery.discover(), (std::vector<DiscoveredDevice>{{"127.0.0.1", "1954", false}}));

    const auto probes = responder.probes();
    ASSERT_EQ(probes.size(), 2u);
    std::vector<std::string> senders{probes[0].senderAddress, probes[1].senderAddress};
    std::ranges::sort(senders);
    EXPECT_EQ(senders, (std::vector<std::string>{"127.0.0.1", "127.0.0.2"}));
}

// A real broadcast, kept on loopback: the loopback network's broadcast address
// reaches every responder listening on it.
TEST(AutoDiscovery, BroadcastReachesEveryResponder)
{
    std::optional<UdpResponder> first;
    std::optional<UdpResponder> second;
    try {
        first.emplace(UdpResponderOptions{.listenAddress = "127.255.255.255",
                                          .answerFromAddress = "127.0.0.2",
                                          .answers = {{0xA2, 0x07}}});
        second.emplace(UdpResponderOptions{.listenAddress = "127.255.255.255",
                                           .port = first->port(),
                                           .answerFromAddress = "127.0.0.3",
                                           .answers = {{0xA2, 0x07, 0x01}}});
    } catch (const std::exception& e) {
        GTEST_SKIP() << "no loopback broadcast here: " << e.what();
    }
    const AutoDiscovery discovery(listenTime, DiscoveryScope{{{"127.0.0.1"}}, "127.255.255.255", first->port()});

    EXPECT_EQ(sorted(discovery.discover()),
              (std::vector<DiscoveredDevice>{{"127.0.0.2", "1954", false}, {"127.0.0.3", "1954", true}}));
    EXPECT_EQ(first->probes().size(), 1u);
    EXPECT_EQ(second->probes().size(), 1u);
}

TEST(AutoDiscovery, WithoutAnswerReturnsEmptyAfterTheTimeout)
{
    UdpResponder silent({.answers = {}});
    const AutoDiscovery discovery(listenTime, loopbackScope(silent.port()));

    std::vector<DiscoveredDevice> devices{{"x", "1", false}};
    const auto elapsed = timed([&] { devices = discovery.discover(); });

    EXPECT_TRUE(devices.empty());
    EXPECT_GE(elapsed, listenTime);
    EXPECT_LT(elapsed, listenTime + slack);
    EXPECT_EQ(silent.probes().size(), 1u);
}

// Addresses that cannot be parsed or bound are skipped without waiting; with
// none left the call returns at once even under a long time-out.
TEST(AutoDiscovery, UnusableLocalAddressesAreSkippedAtOnce)
{
    UdpResponder responder;
    const std::vector<std::string> unusable{"not-an-address", "::1", "203.0.113.7", ""};
    for (const auto& addresses : {std::vector<std::string>{}, unusable}) {
        const AutoDiscovery discovery(30s, loopbackScope(responder.port(), addresses));
        std::vector<DiscoveredDevice> devices;
        const auto elapsed = timed([&] { devices = discovery.discover(); });
        EXPECT_TRUE(devices.empty());
        EXPECT_LT(elapsed, slack);
    }
    EXPECT_TRUE(responder.probes().empty());

    auto mixed = unusable;
    mixed.push_back("127.0.0.1");
    const AutoDiscovery discovery(listenTime, loopbackScope(responder.port(), mixed));
    EXPECT_EQ(discovery.discover(), (std::vector<DiscoveredDevice>{{"127.0.0.1", "1954", false}}));
}

TEST(AutoDiscovery, AsyncDeliversTheResultOnItsOwnThread)
{
    UdpResponder responder({.answers = {{0xA2, 0x07, 0x01}}});
    AutoDiscovery discovery(listenTime, loopbackScope(responder.port()));

    std::promise<std::pair<std::vector<DiscoveredDevice>, std::thread::id>> delivered;
    auto result = delivered.get_future();
    const auto elapsed = timed([&] {
        discovery.discoverAsync([&delivered](std::vector<DiscoveredDevice> devices) {
            delivered.set_value({std::move(devices), std::this_thread::get_id()});
        });
    });
    EXPECT_LT(elapsed, listenTime);

    ASSERT_EQ(result.wait_for(listenTime + slack), std::future_status::ready);
    const auto [devices, thread] = result.get();
    EXPECT_EQ(devices, (std::vector<DiscoveredDevice>{{"127.0.0.1", "1954", true}}));
    EXPECT_NE(thread, std::this_thread::get_id());
}

TEST(AutoDiscovery, AsyncWithoutCallbackStillProbes)
{
    UdpResponder responder;
    {
        AutoDiscovery discovery(listenTime, loopbackScope(responder.port()));
        discovery.discoverAsync({});
    }
    EXPECT_EQ(responder.probes().size(), 1u);
}

// A callback that raises must not take the caller's program down with the
// discovery thread.
TEST(AutoDiscovery, AsyncCallbackThatRaisesIsContained)
{
    UdpResponder responder;
    std::atomic<bool> called = false;
    {
        AutoDiscovery discovery(listenTime, loopbackScope(responder.port()));
        discovery.discoverAsync([&called](std::vector<DiscoveredDevice>) {
            called = true;
            throw std::runtime_error("callback failed");
        });
    }
    EXPECT_TRUE(called);
}

// Destroying the scanner while it listens does not cut the discovery short:
// the destructor waits for it and the callback still gets the full result.
TEST(AutoDiscovery, DestructionWaitsForTheRunningDiscovery)
{
    UdpResponder responder;
    std::atomic<int> calls = 0;
    std::vector<DiscoveredDevice> devices;
    const auto elapsed = timed([&] {
        AutoDiscovery discovery(listenTime, loopbackScope(responder.port()));
        discovery.discoverAsync([&](std::vector<DiscoveredDevice> found) {
            devices = std::move(found);
            ++calls;
        });
        ASSERT_TRUE(responder.waitForProbes(1, slack));
    });
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(devices, (std::vector<DiscoveredDevice>{{"127.0.0.1", "1954", false}}));
    EXPECT_GE(elapsed, listenTime);
    EXPECT_LT(elapsed, listenTime + slack);
}

// A second asynchronous discovery starts before the first is joined; each
// delivers its own result once.
TEST(AutoDiscovery, NewAsyncDiscoveryReplacesTheRunningOne)
{
    UdpResponder responder;
    std::mutex mutex;
    std::vector<std::pair<int, std::vector<DiscoveredDevice>>> results;
    auto recordAs = [&](int run) {
        return [&, run](std::vector<DiscoveredDevice> devices) {
            std::lock_guard lock(mutex);
            results.emplace_back(run, std::move(devices));
        };
    };
    {
        AutoDiscovery discovery(listenTime, loopbackScope(responder.port()));
        discovery.discoverAsync(recordAs(1));
        ASSERT_TRUE(responder.waitForProbes(1, slack));
        discovery.discoverAsync(recordAs(2));
        // The call returned only after the first run had delivered; the
        // second run is under way. The two runs overlap, so either may
        // deliver first.
        EXPECT_TRUE(responder.waitForProbes(2, slack));
        std::lock_guard lock(mutex);
        EXPECT_TRUE(std::ranges::any_of(results, [](const auto& r) { return r.first == 1; }));
    }
    const std::vector<DiscoveredDevice> expected{{"127.0.0.1", "1954", false}};
    std::ranges::sort(results, {}, [](const auto& r) { return r.first; });
    ASSERT_EQ(results.size(), 2u);
    EXPECT_EQ(results[0], std::make_pair(1, expected));
    EXPECT_EQ(results[1], std::make_pair(2, expected));
}

// A discovery that would listen for ten minutes ends with the stop, keeping
// what was found: a device from the answer already heard, or nothing yet.
TEST(AutoDiscovery, StopEndsTheDiscoveryWithWhatWasFound)
{
    UdpResponder responder;
    const AutoDiscovery discovery(10min, loopbackScope(responder.port()));
    std::stop_source stop;
    auto found = std::async(std::launch::async, [&] { return discovery.discover(stop.get_token()); });
    ASSERT_TRUE(responder.waitForProbes(1, slack));
    stop.request_stop();
    ASSERT_EQ(found.wait_for(20s), std::future_status::ready) << "the discovery goes on after the stop";
    const auto devices = found.get();
    if (!devices.empty()) {
        EXPECT_EQ(devices, (std::vector<DiscoveredDevice>{{"127.0.0.1", "1954", false}}));
    }
}

TEST(AutoDiscovery, StoppedBeforeItBeginsProbesNothing)
{
    UdpResponder responder;
    const AutoDiscovery discovery(10min, loopbackScope(responder.port()));
    std::stop_source stop;
    stop.request_stop();
    auto found = std::async(std::launch::async, [&] { return discovery.discover(stop.get_token()); });
    ASSERT_EQ(found.wait_for(20s), std::future_status::ready);
    EXPECT_TRUE(found.get().empty());
    EXPECT_FALSE(responder.waitForProbes(1, 200ms));
}

TEST(AutoDiscovery, UnstoppedTokenListensForTheWholeTime)
{
    UdpResponder responder;
    const AutoDiscovery discovery(listenTime, loopbackScope(responder.port()));
    const std::stop_source stop;
    EXPECT_EQ(discovery.discover(stop.get_token()), (std::vector<DiscoveredDevice>{{"127.0.0.1", "1954", false}}));
}
