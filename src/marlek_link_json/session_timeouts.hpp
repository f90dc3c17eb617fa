#pragma once

#include <boost/asio/io_context.hpp>
#include <boost/asio/steady_timer.hpp>

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <mutex>

// The time-outs of a session, run on its watchdog thread (the one running
// the context). One timer serves them all, set to the earliest deadline:
// starting a time-out that ends later than that, and cancelling one, only
// change the table, so an answered request costs the watchdog no wake-up.
class SessionTimeouts {
public:
    using Clock = std::chrono::steady_clock;

    // A started time-out, for cancelling it.
    struct Pending {
        Clock::time_point deadline;
        std::function<void()> onExpiry;
    };

    explicit SessionTimeouts(boost::asio::io_context& context);

    // Accepts time-outs from now on; the context is about to run.
    void open();
    // Drops every pending time-out without running it and refuses new ones.
    // Queued on the context: once this returns, nothing of this table keeps
    // the context running.
    void close();

    // Runs onExpiry on the context's thread after the wait, unless it is
    // cancelled or the table closed first. Null while the table is closed.
    std::shared_ptr<Pending> start(std::chrono::milliseconds wait, std::function<void()> onExpiry);
    void cancel(const std::shared_ptr<Pending>& timeout);

private:
    // Both on the context's thread.
    void arm();
    void expire();

    boost::asio::io_context& context;
    boost::asio::steady_timer timer;
    std::mutex mutex;
    bool accepting = false;
    std::multimap<Clock::time_point, std::shared_ptr<Pending>> deadlines;
    // Where the timer is set, or about to be; max when it need not wake.
    Clock::time_point armedDeadline = Clock::time_point::max();
};
