#include "marlek_link_json/name_resolution.hpp"

#include <boost/asio/as_tuple.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/use_awaitable.hpp>

#include <atomic>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

namespace {

NameResolution::Answer systemResolve(const std::string& host, const std::string& port)
{
    // A context of its own: the resolving thread may outlive the caller's.
    boost::asio::io_context context;
    boost::asio::ip::tcp::resolver resolver(context);
    NameResolution::Answer answer;
    answer.results = resolver.resolve(host, port, answer.error);
    return answer;
}

std::mutex resolverMutex;
NameResolution::Resolver currentResolver = systemResolve;
// Read without the lock while no test has replaced the resolver, so that a
// child made by fork never waits for a lock its parent's threads held.
std::atomic<bool> overridden{false};

NameResolution::Resolver resolverInUse()
{
    if (!overridden.load()) {
        return systemResolve;
    }
    std::lock_guard lock(resolverMutex);
    return currentResolver;
}

} // namespace

struct NameResolution::Shared {
    std::mutex mutex;
    std::optional<Answer> answer;
    // Wakes the waiting side; empty once it has abandoned the resolution.
    std::function<void()> notify;
};

NameResolution::NameResolution(const boost::asio::any_io_executor& executor, std::string host, std::string port)
    : shared(std::make_shared<Shared>()), wake(std::make_shared<boost::asio::steady_timer>(executor))
{
    shared->notify = [executor, wake = wake] {
        boost::asio::post(executor, [wake] { wake->cancel(); });
    };
    try {
        std::thread([shared = shared, resolve = resolverInUse(), host = std::move(host), port = std::move(port)] {
            Answer answer = resolve(host, port);
            std::lock_guard lock(shared->mutex);
            shared->answer = std::move(answer);
            if (shared->notify) {
                shared->notify();
            }
        }).detach();
    } catch (const std::system_error& e) {
        // No thread to be had: a failed resolution, like any other.
        shared->answer = Answer{e.code(), {}};
    }
}

NameResolution::~NameResolution()
{
    abandon();
}

void NameResolution::abandon()
{
    std::lock_guard lock(shared->mutex);
    shared->notify = nullptr;
}

boost::asio::awaitable<std::optional<NameResolution::Answer>>
NameResolution::answer(std::chrono::steady_clock::time_point deadline)
{
    {
        std::lock_guard lock(shared->mutex);
        if (shared->answer) {
            co_return shared->answer;
        }
    }
    wake->expires_at(deadline);
    // Ends early when the answer comes in, when the deadline passes and when the
    // awaiting coroutine is cancelled: in each case the answer tells.
    co_await wake->async_wait(boost::asio::as_tuple(boost::asio::use_awaitable));
    abandon();
    std::lock_guard lock(shared->mutex);
    co_return shared->answer;
}

void NameResolution::overrideForTesting(Resolver resolver)
{
    std::lock_guard lock(resolverMutex);
    currentResolver = std::move(resolver);
    overridden = true;
}

void NameResolution::restoreDefault()
{
    overrideForTesting(systemResolve);
}
