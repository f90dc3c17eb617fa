#pragma once

#include "support/short_heartbeat.hpp"

#include "fake_workstation/fake_workstation.hpp"
#include "marlek_link_json/link_json_session.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <optional>

// What a ConnectedSession shortens.
struct ConnectedSessionTimings {
    static constexpr std::chrono::milliseconds kShortRequestTimeout{300};

    // So that nothing waits long for a reply that does not come; empty keeps
    // the session's own.
    std::optional<std::chrono::milliseconds> requestTimeout = kShortRequestTimeout;
    // So that a dropped connection is noticed at once.
    bool shortHeartbeat = true;

    // Every wait as the session has it, for runs that must not be cut short.
    static ConnectedSessionTimings sessionDefaults() { return {std::nullopt, false}; }
};

// A session connected to its own fake workstation.
class ConnectedSession : public ::testing::Test {
protected:
    static constexpr auto kRequestTimeout = ConnectedSessionTimings::kShortRequestTimeout;

    ConnectedSession();
    explicit ConnectedSession(ConnectedSessionTimings timings);

    void SetUp() override;
    void TearDown() override;

    FakeRequestRouter& router() { return workstation.router(); }

    FakeWorkstation workstation;
    std::unique_ptr<LinkJsonSession> session;

private:
    ConnectedSessionTimings timings;
    std::optional<ShortHeartbeat> heartbeat;
};
