#pragma once

// A mutex that a child made by fork never waits for.

#include "marlek_link_json/fork_generation.hpp"

#include <cstdint>
#include <mutex>

// The parent's other threads do not exist in a child made by fork, and one
// of them may have held the mutex at the fork. So in a child, a mutex made
// in the parent locks nothing: what it guards there belongs to the parent,
// and the core refuses the child's calls on it at once. The thread that
// forks never holds it (it is held only without the interpreter lock, which
// os.fork needs), so no unlock in the child follows a lock of the parent.
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
