#pragma once

// A mutex that a child made by fork never waits for.

#include "marlek_link_json/fork_generation.hpp"

#include <cstdint>
#include <mutex>

// The parent's other threads do not exist in a child made by fork, and one
// of them may have held the mutex at the fork. So in a child it locks
// nothing: what it guards there belongs to the parent, and the child's
// calls on it are refused at once. A thread never forks while it holds it
// (it is taken without the interpreter lock, and os.fork needs that lock).
class ForkSafeMutex {
public:
    void lock()
    {
        if (madeInThisProcess()) {
            mutex.lock();
        }
    }
    void unlock()
    {
        if (madeInThisProcess()) {
            mutex.unlock();
        }
    }

private:
    bool madeInThisProcess() const { return generation == forkGeneration(); }

    std::mutex mutex;
    const std::uint64_t generation = forkGeneration();
};
