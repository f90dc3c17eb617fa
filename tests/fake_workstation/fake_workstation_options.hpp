#pragma once

#include "fake_workstation/tls_test_material.hpp"

#include <optional>
#include <string>

// How a FakeWorkstation behaves towards its clients. The defaults give a
// plain, well-behaved workstation that accepts every upgrade on "/default".
struct FakeWorkstationOptions {
    // The loopback address to listen on ("::1" for IPv6).
    std::string listenAddress = "127.0.0.1";

    // Serve TLS with this certificate and key instead of plain TCP.
    std::optional<TlsTestIdentity> tls;

    // When set, an upgrade whose Authorization is not "Basic " +
    // base64(user ":" password) is answered 401.
    struct Credentials {
        std::string user;
        std::string password;
    };
    std::optional<Credentials> requiredCredentials;

    // Answer every upgrade with this HTTP status (401, 404, 409, ...).
    std::optional<unsigned> forcedUpgradeStatus;

    // Take the TCP connection and never answer: no TLS, no HTTP response.
    bool acceptWithoutAnswer = false;

    // Read nothing after the upgrade (until resumeReading): pings stay
    // unanswered and the client's writes stall once the buffers are full.
    bool pauseReadingAfterUpgrade = false;
};
