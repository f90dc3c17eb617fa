#pragma once

#include <memory>
#include <mutex>
#include <utility>

// The way a job's live-data handlers reach the job's features object. The
// handlers are shared with the session, so one may still be called after
// the job is gone (an event already being dispatched, or a job destroyed
// while registered); they hold this target instead of the object itself.
// The owner detaches it in its destructor, which waits for a handler that
// is running; a handler called afterwards does nothing.
//
// A live-data callback must therefore not destroy its own job.
template <typename Features>
class LiveDataTarget {
public:
    explicit LiveDataTarget(Features& features) : features(&features) {}

    LiveDataTarget(const LiveDataTarget&) = delete;
    LiveDataTarget& operator=(const LiveDataTarget&) = delete;

    void detach()
    {
        std::lock_guard lock(mutex);
        features = nullptr;
    }

    template <typename Call>
    void ifAttached(Call&& call)
    {
        std::lock_guard lock(mutex);
        if (features != nullptr) {
            std::forward<Call>(call)(*features);
        }
    }

private:
    std::mutex mutex;
    Features* features;
};
