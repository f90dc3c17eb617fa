#include "support/short_heartbeat.hpp"

#include "marlek_link_json/link_ll_session_timing.hpp"

using namespace std::chrono_literals;

ShortHeartbeat::ShortHeartbeat() : TimingOverride(100ms, LinkLlSessionTiming{}.websocketHandshakeTimeout) {}
