#pragma once

#include <chrono>

// Sets the session's fixed waits for sessions made while in scope, and gives
// the usual values back at its end.
class TimingOverride {
public:
    explicit TimingOverride(std::chrono::milliseconds heartbeatWait,
                            std::chrono::milliseconds websocketHandshakeTimeout = std::chrono::milliseconds(1000));
    ~TimingOverride();
    TimingOverride(const TimingOverride&) = delete;
    TimingOverride& operator=(const TimingOverride&) = delete;
};
