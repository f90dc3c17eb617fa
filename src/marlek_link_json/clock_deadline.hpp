#pragma once

#include <chrono>
#include <concepts>
#include <ratio>

// The time point a wait given in milliseconds ends at. Every wait is
// accepted: one beyond the clock's range ends at the clock's last time point
// (in practice never), one reaching before its first at the first (at once),
// where plain arithmetic would overflow the clock's count and could end a
// very long wait at once.
template <typename Clock>
typename Clock::time_point deadlineAfter(typename Clock::time_point start, std::chrono::milliseconds wait)
{
    using Rep = typename Clock::rep;
    using TicksPerMillisecond = std::ratio_divide<std::milli, typename Clock::period>;
    static_assert(std::integral<Rep> && TicksPerMillisecond::den == 1, "an integral clock counting in ms or finer");

    Rep ticks{};
    Rep end{};
    if (__builtin_mul_overflow(wait.count(), TicksPerMillisecond::num, &ticks)
        || __builtin_add_overflow(start.time_since_epoch().count(), ticks, &end)) {
        return wait.count() < 0 ? Clock::time_point::min() : Clock::time_point::max();
    }
    return typename Clock::time_point(typename Clock::duration(end));
}

// The same from the clock's present reading.
template <typename Clock = std::chrono::steady_clock>
typename Clock::time_point deadlineFromNow(std::chrono::milliseconds wait)
{
    return deadlineAfter<Clock>(Clock::now(), wait);
}
