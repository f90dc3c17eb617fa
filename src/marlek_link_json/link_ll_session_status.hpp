#pragma once

#include <cstdint>

// What the connection-status callback receives.
enum class MarlekLinkConnectionStatusEnum : std::uint32_t {
    DISCONNECTED = 0,
    CONNECTED = 1,
};

// The outcome of one low-level connect. 4 is not used.
enum class MarlekLinkServiceStatusEnum : std::uint32_t {
    OK = 0,
    ALREADY_STARTED = 1,
    RESOLVE_FAILED = 2,
    CONNECT_FAILED = 3,
    TLS_SETUP_FAILED = 5,
    TLS_HANDSHAKE_FAILED = 6,
    WEBSOCKET_HANDSHAKE_FAILED = 7,
    HTTP_UNAUTHORIZED = 8,
    HTTP_CONFLICT = 9,
};
