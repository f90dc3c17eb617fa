#include "marlek_link/session_teardown.hpp"

#include "marlek_link_json/fork_generation.hpp"
#include "marlek_link_json/inherited_objects.hpp"
#include "marlek_link_json/link_json_session.hpp"

#include <atomic>
#include <cstdint>
#include <list>
#include <mutex>
#include <thread>

namespace {

struct Teardown {
    std::thread thread;
    std::atomic<bool> finished{false};
};

// Teardowns still to be joined, of the process that made them.
class TeardownRegistry {
public:
    TeardownRegistry() = default;
    TeardownRegistry(const TeardownRegistry&) = delete;
    TeardownRegistry& operator=(const TeardownRegistry&) = delete;

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

    void joinAll()
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

    const std::uint64_t generation = forkGeneration();

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

// The registry of this process. A child made by fork starts one of its own:
// the parent's lists threads the child does not have, under a mutex one of
// them may hold, so it is never touched again (and never destroyed).
std::atomic<TeardownRegistry*> current{nullptr};

// Joins every teardown of this process at exit, so that no session is still
// being torn down while the program ends.
struct JoinAtExit {
    ~JoinAtExit()
    {
        TeardownRegistry* const own = current.load();
        if (own != nullptr && own->generation == forkGeneration()) {
            own->joinAll();
        }
    }
};

TeardownRegistry& registry()
{
    static JoinAtExit joinAtExit;
    TeardownRegistry* own = current.load();
    while (own == nullptr || own->generation != forkGeneration()) {
        auto* fresh = new TeardownRegistry;
        TeardownRegistry* const inherited = own;
        if (current.compare_exchange_strong(own, fresh)) {
            if (inherited != nullptr) {
                keepInheritedForever(std::shared_ptr<void>(inherited, [](void*) {}));
            }
            own = fresh;
            break;
        }
        delete fresh;
    }
    return *own;
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
