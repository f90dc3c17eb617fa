#include "marlek_link/session_teardown.hpp"

#include "marlek_link_json/link_json_session.hpp"

#include <atomic>
#include <list>
#include <mutex>
#include <thread>

namespace {

struct Teardown {
    std::thread thread;
    std::atomic<bool> finished{false};
};

// Teardowns still to be joined. Its destruction at exit joins every one, so
// that no session is still being torn down while the program ends.
class TeardownRegistry {
public:
    ~TeardownRegistry()
    {
        std::list<Teardown> remaining;
        {
            std::lock_guard lock(mutex);
            remaining.swap(teardowns);
        }
        for (auto& teardown : remaining) {
            join(teardown);
        }
    }

    void start(std::shared_ptr<LinkJsonSession> session)
    {
        std::lock_guard lock(mutex);
        Teardown& teardown = teardowns.emplace_back();
        teardown.thread = std::thread([&teardown, session = std::move(session)]() mutable {
            session->disconnect();
            session.reset();
            teardown.finished = true;
        });
    }

    void reapFinished()
    {
        std::list<Teardown> finished;
        {
            std::lock_guard lock(mutex);
            for (auto entry = teardowns.begin(); entry != teardowns.end();) {
                const auto next = std::next(entry);
                if (entry->finished) {
                    finished.splice(finished.end(), teardowns, entry);
                }
                entry = next;
            }
        }
        for (auto& teardown : finished) {
            join(teardown);
        }
    }

private:
    static void join(Teardown& teardown)
    {
        if (teardown.thread.joinable()) {
            teardown.thread.join();
        }
    }

    std::mutex mutex;
    std::list<Teardown> teardowns;
};

TeardownRegistry& registry()
{
    static TeardownRegistry instance;
    return instance;
}

} // namespace

void SessionTeardown::dispose(std::shared_ptr<LinkJsonSession> session)
{
    if (!session) {
        return;
    }
    if (LinkJsonSession::inSessionCallback()) {
        registry().start(std::move(session));
        return;
    }
    session->disconnect();
    session.reset();
    reap();
}

void SessionTeardown::reap()
{
    if (!LinkJsonSession::inSessionCallback()) {
        registry().reapFinished();
    }
}
