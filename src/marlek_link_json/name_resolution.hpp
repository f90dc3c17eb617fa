#pragma once

#include <boost/asio/any_io_executor.hpp>
#include <boost/asio/awaitable.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/system/error_code.hpp>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>

// Resolves a host and a port for TCP on a thread of its own. The system
// resolver cannot be interrupted: the waiting side gives up at its time-out
// or its cancellation, and tears down without waiting for the resolver,
// which finishes unobserved.
class NameResolution {
public:
    struct Answer {
        boost::system::error_code error;
        boost::asio::ip::tcp::resolver::results_type results;
    };
    using Resolver = std::function<Answer(const std::string& host, const std::string& port)>;

    // Starts resolving at once; the answer is delivered through executor.
    NameResolution(const boost::asio::any_io_executor& executor, std::string host, std::string port);
    // Abandons a resolution still running.
    ~NameResolution();
    NameResolution(const NameResolution&) = delete;
    NameResolution& operator=(const NameResolution&) = delete;

    // The answer, or nothing when the deadline passed or the awaiting
    // coroutine was cancelled first. Awaited once; time_point::max() waits
    // without limit.
    boost::asio::awaitable<std::optional<Answer>> answer(std::chrono::steady_clock::time_point deadline);
    // No answer is delivered through the executor after this has returned.
    void abandon();

    // Test seam: the resolver used by resolutions started afterwards.
    static void overrideForTesting(Resolver resolver);
    static void restoreDefault();

private:
    struct Shared;
    std::shared_ptr<Shared> shared;
    std::shared_ptr<boost::asio::steady_timer> wake;
};
