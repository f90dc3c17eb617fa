#include "marlek_link_json/link_ll_session_timing.hpp"

#include <mutex>

namespace {

std::mutex timingMutex;
LinkLlSessionTiming currentTiming;

} // namespace

LinkLlSessionTiming LinkLlSessionTiming::current()
{
    std::lock_guard lock(timingMutex);
    return currentTiming;
}

void LinkLlSessionTiming::overrideForTesting(const LinkLlSessionTiming& timing)
{
    std::lock_guard lock(timingMutex);
    currentTiming = timing;
}

void LinkLlSessionTiming::restoreDefaults()
{
    overrideForTesting(LinkLlSessionTiming{});
}
