#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// What a FakeWorkstation saw of one client connection.

struct FakeUpgradeRequest {
    std::string method;
    std::string target;
    std::vector<std::pair<std::string, std::string>> headers; // in arrival order
    std::string serverName; // TLS SNI; empty when none was sent or without TLS

    // The first header of that name (case-insensitive), if any.
    std::optional<std::string> header(std::string_view name) const;
};

struct FakeReceivedMessage {
    bool binary = false;
    std::string bytes;
    std::chrono::steady_clock::time_point time;
};

struct FakeReceivedPing {
    std::string payload;
    std::chrono::steady_clock::time_point time;
};

struct FakeConnectionRecord {
    FakeUpgradeRequest request;
    unsigned answeredStatus = 0; // 101 once upgraded, else the HTTP status sent
    std::vector<FakeReceivedMessage> messages;
    std::vector<FakeReceivedPing> pings;
    std::optional<std::uint16_t> closeCode; // of the client's close frame
    bool ended = false;                     // the connection is gone, by whatever means
};
