#include "support/timing_override.hpp"

#include "marlek_link_json/link_ll_session_timing.hpp"

TimingOverride::TimingOverride(std::chrono::milliseconds heartbeatWait,
                               std::chrono::milliseconds websocketHandshakeTimeout)
{
    LinkLlSessionTiming timing;
    timing.heartbeatWait = heartbeatWait;
    timing.websocketHandshakeTimeout = websocketHandshakeTimeout;
    LinkLlSessionTiming::overrideForTesting(timing);
}

TimingOverride::~TimingOverride()
{
    LinkLlSessionTiming::restoreDefaults();
}
