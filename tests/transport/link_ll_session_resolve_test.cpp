#include "session_probe.hpp"

#include "fake_workstation/stalled_resolver.hpp"
#include "marlek_link_json/link_ll_session_flags.hpp"

#include <future>

using Status = MarlekLinkServiceStatusEnum;
using fake_workstation::StalledResolver;

// The system resolver cannot be interrupted: a connect still ends at its
// time-out, and the disconnect after it does not wait for the resolver.
TEST(LinkLlSessionResolve, StalledResolverNeitherHoldsTheConnectNorTheDisconnect)
{
    StalledResolver stalled;
    SessionProbe session("workstation.example", "1994", MarlekLinkConnectionFlags::NONE);
    session->connectionTimeout = 200ms;

    const auto started = std::chrono::steady_clock::now();
    auto connecting = std::async(std::launch::async, [&] { return session->connect(); });
    EXPECT_TRUE(stalled.waitUntilAsked(5s));
    // Released on failure only, so that no thread is left hanging.
    const bool connectEnded = connecting.wait_for(10s) == std::future_status::ready;
    if (!connectEnded) {
        stalled.release();
    }
    ASSERT_TRUE(connectEnded) << "connect waits for the resolver";
    EXPECT_EQ(connecting.get(), Status::RESOLVE_FAILED);
    EXPECT_GE(std::chrono::steady_clock::now() - started, 200ms);

    auto disconnecting = std::async(std::launch::async, [&] { session->disconnect(); });
    const bool disconnectEnded = disconnecting.wait_for(10s) == std::future_status::ready;
    stalled.release();
    EXPECT_TRUE(disconnectEnded) << "disconnect waits for the resolver";
    disconnecting.get();
    EXPECT_TRUE(session.statusHistory().empty());
}
