#pragma once

#include <atomic>
#include <future>
#include <utility>

// A promise that may be offered a value more than once, by callbacks that
// race (a job completion and a cancellation, or two completions): the first
// value counts and later ones are ignored, where a plain promise would throw
// on the worker thread. Shared by the waiting caller and the callbacks, so
// a late callback never touches a promise whose caller has returned.
template <typename T>
class OncePromise {
public:
    std::future<T> getFuture() { return promise.get_future(); }

    // True when this value was the first.
    bool offer(T value)
    {
        if (taken.exchange(true)) {
            return false;
        }
        promise.set_value(std::move(value));
        return true;
    }

private:
    std::promise<T> promise;
    std::atomic<bool> taken{false};
};
