#pragma once

#include "support/timing_override.hpp"

// A short heartbeat, so that a dropped connection is seen at once; the
// upgrade and closing handshake keep their usual limit.
class ShortHeartbeat : public TimingOverride {
public:
    ShortHeartbeat();
};
