#include "session_test_support.hpp"

#include "marlek_link_json/clock_deadline.hpp"
#include "marlek_link_json/request_timeout_limit.hpp"
#include "marlek_link_json/session_timeouts.hpp"

#include <boost/asio/executor_work_guard.hpp>
#include <boost/asio/io_context.hpp>

#include <limits>
#include <ostream>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;
using Ticks = Clock::duration;

Clock::time_point at(Ticks sinceEpoch)
{
    return Clock::time_point(sinceEpoch);
}

struct DeadlineCase {
    const char* name;
    Clock::time_point start;
    std::chrono::milliseconds wait;
    Clock::time_point expected;
};

void PrintTo(const DeadlineCase& c, std::ostream* os) { *os << c.name; }

class Deadlines : public testing::TestWithParam<DeadlineCase> {};

// A table of time-outs run by a thread of its own, as a session's watchdog.
class RunningTimeouts : public testing::Test {
protected:
    RunningTimeouts() { timeouts.open(); }
    ~RunningTimeouts() override
    {
        timeouts.close();
        work.reset();
        runner.join();
    }

    boost::asio::io_context context;
    boost::asio::executor_work_guard<boost::asio::io_context::executor_type> work{context.get_executor()};
    SessionTimeouts timeouts{context};
    std::thread runner{[this] { context.run(); }};
};

} // namespace

TEST_P(Deadlines, EndWithinTheClocksRange)
{
    const auto& c = GetParam();
    EXPECT_EQ(deadlineAfter<Clock>(c.start, c.wait), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Waits, Deadlines,
    testing::Values(
        DeadlineCase{"short", at(10ms), 5ms, at(15ms)},
        DeadlineCase{"negative", at(10ms), -4ms, at(6ms)},
        DeadlineCase{"longest", at(10ms), std::chrono::milliseconds::max(), Clock::time_point::max()},
        DeadlineCase{"most_negative", at(10ms), std::chrono::milliseconds::min(), Clock::time_point::min()},
        DeadlineCase{"past_the_last_tick", Clock::time_point::max() - 1ms, 2ms, Clock::time_point::max()},
        DeadlineCase{"before_the_first_tick", Clock::time_point::min() + 1ms, -2ms, Clock::time_point::min()},
        DeadlineCase{"up_to_the_last_tick", Clock::time_point::max() - 2ms, 2ms, Clock::time_point::max()}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RunningTimeouts, AWaitBeyondTheClocksRangeDoesNotEndAtOnce)
{
    Inbox<int> expired;
    const auto endless = timeouts.start(std::chrono::milliseconds::max(), [&] { expired.push(0); });
    timeouts.start(50ms, [&] { expired.push(1); });
    ASSERT_TRUE(expired.waitForCount(1, kWait));
    EXPECT_EQ(expired.snapshot(), std::vector{1});
    ASSERT_NE(endless, nullptr);
    EXPECT_EQ(endless->deadline, Clock::time_point::max());
}

TEST_F(RunningTimeouts, AWaitBelowZeroEndsAtOnce)
{
    Inbox<int> expired;
    timeouts.start(std::chrono::milliseconds::min(), [&] { expired.push(0); });
    EXPECT_TRUE(expired.waitForCount(1, kWait));
}

// Request time-outs beyond what the session counts in an int once wrapped
// around, to a time-out that ended the request at once.
class LongRequestTimeouts : public ConnectedSession, public testing::WithParamInterface<std::chrono::milliseconds> {};

TEST_P(LongRequestTimeouts, WaitForALateReply)
{
    FakeReplyOverride late;
    late.mode = FakeReplyOverride::Mode::Delayed;
    late.delay = 300ms;
    router().setReplyOverride("/id", late);
    session->setRequestTimeout(GetParam());
    const auto reply = session->sendRequest(boost::json::object{{"do", "/id"}}, 0);
    EXPECT_TRUE(LinkJsonSession::wasSuccessful(reply)) << boost::json::serialize(reply);
}

INSTANTIATE_TEST_SUITE_P(Timeouts, LongRequestTimeouts,
                         testing::Values(std::chrono::milliseconds::max(), std::chrono::hours(24 * 30),
                                         longestRequestTimeout),
                         [](const auto& info) { return std::to_string(info.index); });
