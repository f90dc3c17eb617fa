#pragma once

// The protocol version this library speaks; the WebSocket upgrade announces
// the same number.
struct ProtocolVersion {
    static unsigned library();
};
