#pragma once

#include <chrono>

// The fixed waits of the low-level session. Sessions copy the current values
// when they are constructed; the values are the protocol's own unless a test
// has shortened them, so that no test waits for a production-length timer.
struct LinkLlSessionTiming {
    // One heartbeat wait; a ping follows five silent waits in a row.
    std::chrono::milliseconds heartbeatWait{5000};
    // Limit of the WebSocket upgrade and of the closing handshake.
    std::chrono::milliseconds websocketHandshakeTimeout{30000};
    // What disconnect allows beyond the closing-handshake limit before it
    // cuts the connection off, whatever the loops are still waiting for.
    std::chrono::milliseconds disconnectMargin{1000};

    static LinkLlSessionTiming current();

    // Test seam: changes the values used by sessions constructed afterwards.
    static void overrideForTesting(const LinkLlSessionTiming& timing);
    static void restoreDefaults();
};
