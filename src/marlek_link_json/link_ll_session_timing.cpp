#include "marlek_link_json/link_ll_session_timing.hpp"

#include <atomic>
#include <mutex>

namespace {

std::mutex timingMutex;
LinkLlSessionTiming currentTiming;
// Read without the lock while no test has changed the values, so that a
// child made by fork never waits for a lock its parent's threads held.
std::atomic<bool> overridden{false};

} // namespace

LinkLlSessionTiming LinkLlSessionTiming::current()
{
    if (!overridden.load()) {
        return LinkLlSessionTiming{};
    }
    std::lock_guard lock(timingMutex);
    return currentTiming;
}

void LinkLlSessionTiming::overrideForTesting(const LinkLlSessionTiming& timing)
{
    std::lock_guard lock(timingMutex);
    currentTiming = timing;
    overridden = true;
}

void LinkLlSessionTiming::restoreDefaults()
{
    overrideForTesting(LinkLlSessionTiming{});
}
