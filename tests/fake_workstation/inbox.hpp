#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <utility>
#include <vector>

namespace fake_workstation {

// Collects what callbacks receive on other threads, in arrival order, so a
// test can wait for them with a bound.
template <typename T>
class Inbox {
public:
    static constexpr std::chrono::milliseconds kDefaultWait{5000};

    // Notifies under the lock: a test may destroy the inbox as soon as its
    // wait is over, while the pushing thread would still touch the condition.
    void push(T item)
    {
        std::lock_guard lock(mutex);
        items.push_back(std::move(item));
        changed.notify_all();
    }

    bool waitFor(const std::function<bool(const std::vector<T>&)>& condition,
                 std::chrono::milliseconds timeout = kDefaultWait)
    {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, timeout, [&] { return condition(items); });
    }

    bool waitForCount(std::size_t count, std::chrono::milliseconds timeout = kDefaultWait)
    {
        return waitFor([count](const std::vector<T>& all) { return all.size() >= count; }, timeout);
    }

    std::vector<T> snapshot()
    {
        std::lock_guard lock(mutex);
        return items;
    }

    std::size_t size()
    {
        std::lock_guard lock(mutex);
        return items.size();
    }

private:
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<T> items;
};

} // namespace fake_workstation
