#pragma once

// Core calls that block, made from Python with the interpreter lock let go
// meanwhile, so that other Python threads and the link's callbacks run.
//
// Taking the lock back is where the interpreter's end can strike: once
// finalization has begun, a thread that asks for the lock is ended on the
// spot by an unwinding that no C++ frame in between may stop or survive.
// So the lock is taken back only through the gate of interpreter_entry.hpp:
// a thread refused there (the interpreter is ending, and it is not the
// thread that ends it) never returns; it waits for the process to end.
//
// A call made on the main thread can also be interrupted: it checks for
// signals while it waits, and when a signal handler raises (Ctrl-C's
// KeyboardInterrupt), the call's wait is ended and the exception
// propagates. Each function below takes the lock back before it returns or
// throws; an exception of the call is rethrown as it came.

#include <exception>
#include <functional>
#include <optional>
#include <stop_token>
#include <type_traits>
#include <utility>

class MarlekLink;

namespace blocking_call_detail {

// Runs work, which keeps its own outcome and never throws, without the
// interpreter lock on this thread.
void runWithoutInterpreterLock(const std::function<void()>& work);
// The same, ended early by interrupt (called without the lock, at least
// once and until work returns) when a signal handler raises; that
// exception is then thrown.
void runInterruptibly(const std::function<void()>& work, const std::function<void()>& interrupt);
void cancelPendingOperations(MarlekLink& link);

// What a call returned or threw, carried back to the interpreter lock.
template <typename Result>
class Outcome {
public:
    static_assert(!std::is_reference_v<Result>, "a blocking call returns a value");

    template <typename Call>
    void capture(Call& call)
    {
        try {
            if constexpr (std::is_void_v<Result>) {
                call();
            } else {
                value.emplace(call());
            }
        } catch (...) {
            error = std::current_exception();
        }
    }

    Result take()
    {
        if (error) {
            std::rethrow_exception(error);
        }
        if constexpr (!std::is_void_v<Result>) {
            return std::move(*value);
        }
    }

private:
    struct Nothing {};
    std::optional<std::conditional_t<std::is_void_v<Result>, Nothing, Result>> value;
    std::exception_ptr error;
};

template <auto Method>
struct LinkMethod;

} // namespace blocking_call_detail

// A call that ends by itself soon (disconnect, destruction, waiting for a
// lock that a short call holds): the lock is let go, no signal is looked at.
template <typename Call>
std::invoke_result_t<Call&> callWithoutInterpreterLock(Call&& call)
{
    blocking_call_detail::Outcome<std::invoke_result_t<Call&>> outcome;
    blocking_call_detail::runWithoutInterpreterLock([&] { outcome.capture(call); });
    return outcome.take();
}

// A call that may wait long: interrupt must end its wait (and must not
// throw); it runs without the interpreter lock.
template <typename Call, typename Interrupt>
std::invoke_result_t<Call&> callInterruptibly(Call&& call, Interrupt&& interrupt)
{
    blocking_call_detail::Outcome<std::invoke_result_t<Call&>> outcome;
    blocking_call_detail::runInterruptibly([&] { outcome.capture(call); }, [&] { interrupt(); });
    return outcome.take();
}

// A call that waits on a link: interrupted as cancel_pending_operations
// would, which leaves the connection open.
template <typename Call>
std::invoke_result_t<Call&> callLinkInterruptibly(MarlekLink& link, Call&& call)
{
    return callInterruptibly(std::forward<Call>(call),
                             [&link] { blocking_call_detail::cancelPendingOperations(link); });
}

// A call that takes a stop token: interrupted by a stop request.
template <typename Call>
std::invoke_result_t<Call&, std::stop_token> callStoppable(Call&& call)
{
    std::stop_source stop;
    return callInterruptibly([&] { return call(stop.get_token()); }, [&] { stop.request_stop(); });
}

namespace blocking_call_detail {

template <typename Link, typename Result, typename... Args, Result (Link::*Method)(Args...)>
struct LinkMethod<Method> {
    static Result call(Link& link, Args... args)
    {
        return callLinkInterruptibly(link, [&]() -> Result { return (link.*Method)(std::forward<Args>(args)...); });
    }
};

} // namespace blocking_call_detail

// A method of a link as a binding that calls it interruptibly, with the
// method's own parameters.
template <auto Method>
constexpr auto interruptibleLinkMethod = &blocking_call_detail::LinkMethod<Method>::call;
