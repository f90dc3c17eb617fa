#include "marlek_link_json/session_timeouts.hpp"

#include "marlek_link_json/clock_deadline.hpp"

#include <boost/asio/post.hpp>

#include <utility>
#include <vector>

SessionTimeouts::SessionTimeouts(boost::asio::io_context& context) : context(context), timer(context) {}

void SessionTimeouts::open()
{
    std::lock_guard lock(mutex);
    accepting = true;
}

void SessionTimeouts::close()
{
    decltype(deadlines) dropped;
    {
        std::lock_guard lock(mutex);
        accepting = false;
        dropped.swap(deadlines);
        armedDeadline = Clock::time_point::max();
    }
    // Behind every arming queued so far, which then finds nothing to wait for.
    boost::asio::post(context, [this] { timer.cancel(); });
}

std::shared_ptr<SessionTimeouts::Pending> SessionTimeouts::start(std::chrono::milliseconds wait,
                                                                 std::function<void()> onExpiry)
{
    std::lock_guard lock(mutex);
    if (!accepting) {
        return nullptr;
    }
    auto pending = std::make_shared<Pending>(Pending{deadlineFromNow<Clock>(wait), std::move(onExpiry)});
    deadlines.emplace(pending->deadline, pending);
    if (pending->deadline < armedDeadline) {
        armedDeadline = pending->deadline;
        boost::asio::post(context, [this] { arm(); });
    }
    return pending;
}

void SessionTimeouts::cancel(const std::shared_ptr<Pending>& timeout)
{
    if (!timeout) {
        return;
    }
    std::shared_ptr<Pending> removed; // its callback is let go outside the lock
    std::lock_guard lock(mutex);
    const auto [first, last] = deadlines.equal_range(timeout->deadline);
    for (auto entry = first; entry != last; ++entry) {
        if (entry->second == timeout) {
            removed = std::move(entry->second);
            deadlines.erase(entry);
            return;
        }
    }
}

void SessionTimeouts::arm()
{
    std::lock_guard lock(mutex);
    if (armedDeadline == Clock::time_point::max()) {
        return;
    }
    // Replaces the wait for a later deadline, which completes as aborted.
    timer.expires_at(armedDeadline);
    timer.async_wait([this](const boost::system::error_code& error) {
        if (!error) {
            expire();
        }
    });
}

void SessionTimeouts::expire()
{
    std::vector<std::shared_ptr<Pending>> due;
    {
        std::lock_guard lock(mutex);
        const Clock::time_point now = Clock::now();
        while (!deadlines.empty() && deadlines.begin()->first <= now) {
            due.push_back(std::move(deadlines.begin()->second));
            deadlines.erase(deadlines.begin());
        }
        armedDeadline = deadlines.empty() ? Clock::time_point::max() : deadlines.begin()->first;
    }
    arm();
    for (const auto& pending : due) {
        pending->onExpiry();
    }
}
