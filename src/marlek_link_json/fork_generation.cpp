#include "marlek_link_json/fork_generation.hpp"

#include <pthread.h>

#include <atomic>

namespace {

std::atomic<std::uint64_t> generation{0};

// Runs in the child right after fork, where only async-signal-safe work is
// allowed: one atomic increment.
void countChild()
{
    generation.fetch_add(1, std::memory_order_relaxed);
}

// Registered when the library is loaded, before any of its threads exists.
const int registered = pthread_atfork(nullptr, nullptr, &countChild);

} // namespace

std::uint64_t forkGeneration()
{
    static_cast<void>(registered);
    return generation.load(std::memory_order_relaxed);
}
