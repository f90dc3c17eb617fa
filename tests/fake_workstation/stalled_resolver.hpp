#pragma once

#include "marlek_link_json/name_resolution.hpp"

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

namespace fake_workstation {

// While in scope, every name resolution of the library hangs the way a system
// resolver does when its server does not answer: until released, whatever
// the caller's time-out. Released when it goes, so that no resolving thread
// is left waiting.
class StalledResolver {
public:
    StalledResolver()
    {
        NameResolution::overrideForTesting([gate = gate](const std::string&, const std::string&) {
            std::unique_lock lock(gate->mutex);
            ++gate->asked;
            gate->changed.notify_all();
            gate->changed.wait(lock, [&] { return gate->released; });
            NameResolution::Answer answer;
            answer.error = boost::asio::error::host_not_found;
            return answer;
        });
    }
    ~StalledResolver()
    {
        release();
        NameResolution::restoreDefault();
    }
    StalledResolver(const StalledResolver&) = delete;
    StalledResolver& operator=(const StalledResolver&) = delete;

    void release()
    {
        std::lock_guard lock(gate->mutex);
        gate->released = true;
        gate->changed.notify_all();
    }

    bool waitUntilAsked(std::chrono::milliseconds timeout)
    {
        std::unique_lock lock(gate->mutex);
        return gate->changed.wait_for(lock, timeout, [&] { return gate->asked > 0; });
    }

private:
    struct Gate {
        std::mutex mutex;
        std::condition_variable changed;
        int asked = 0;
        bool released = false;
    };
    std::shared_ptr<Gate> gate = std::make_shared<Gate>();
};

} // namespace fake_workstation
