#include "marlek_link_py/blocking_call.hpp"

#include "marlek_link_py/interpreter_entry.hpp"

#include "marlek_link/marlek_link.hpp"
#include "marlek_link_json/fork_generation.hpp"

#include <pybind11/pybind11.h>

#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

namespace py = pybind11;

namespace {

// How long a call on the main thread waits between two looks at the
// signals: Ctrl-C is acted on within about this time.
constexpr std::chrono::milliseconds kSignalCheckInterval{50};

// A thread that must not come back into the interpreter: it stays here,
// owing nothing to anyone (the call's locks are gone with the call), until
// the process ends. Signals are left to the other threads.
[[noreturn]] void waitForProcessEnd()
{
    sigset_t all;
    sigfillset(&all);
    pthread_sigmask(SIG_BLOCK, &all, nullptr);
    for (;;) {
        pause();
    }
}

// The lock let go by this thread, with what it needs to come back.
class ReleasedLock {
public:
    // With the interpreter lock held. A thread that lets it go while the
    // interpreter finalizes is the finalizing thread itself (no other may
    // hold the lock then), which always comes back.
    ReleasedLock() : finalizingThread(Py_IsFinalizing() != 0), state(PyEval_SaveThread()) {}
    ReleasedLock(const ReleasedLock&) = delete;
    ReleasedLock& operator=(const ReleasedLock&) = delete;

    // Takes the lock back, or never returns (see blocking_call.hpp). An
    // admitted entry keeps the exit hook, and with it the interpreter's
    // finalization, waiting until the lock is held.
    void takeBack()
    {
        const InterpreterEntry entry = InterpreterEntry::enterToReturn();
        if (!entry && !finalizingThread) {
            waitForProcessEnd();
        }
        PyEval_RestoreThread(state);
    }

    void releaseAgain() { state = PyEval_SaveThread(); }

private:
    const bool finalizingThread;
    PyThreadState* state;
};

void interruptWithoutThrowing(const std::function<void()>& interrupt) noexcept
{
    interrupt();
}

// The thread that runs the main thread's blocking calls, so that the main
// thread itself can look at the signals while it waits. One per process,
// made at first use and kept; a child made by fork, where it does not
// exist, makes its own. Never destroyed: the process may end while it
// waits for work.
class CallThread {
public:
    // With the interpreter lock held, on the main thread.
    static CallThread& ofThisProcess()
    {
        static CallThread* current = nullptr;
        if (current == nullptr || current->generation != forkGeneration()) {
            current = new CallThread;
        }
        return *current;
    }

    // Main thread only: set while a call of the main thread runs here, so
    // that a call made by a signal handler meanwhile runs on its own.
    bool busy = false;

    void start(const std::function<void()>& task)
    {
        std::lock_guard lock(mutex);
        work = &task;
        finished = false;
        changed.notify_all();
    }

    // True once the work has returned.
    bool waitFor(std::chrono::milliseconds slice)
    {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, slice, [this] { return finished; });
    }

private:
    CallThread() : generation(forkGeneration()) { std::thread([this] { serve(); }).detach(); }

    [[noreturn]] void serve()
    {
        for (;;) {
            const std::function<void()>* task = nullptr;
            {
                std::unique_lock lock(mutex);
                changed.wait(lock, [this] { return work != nullptr; });
                task = work;
            }
            (*task)();
            std::lock_guard lock(mutex);
            work = nullptr;
            finished = true;
            changed.notify_all();
        }
    }

    const std::uint64_t generation;
    std::mutex mutex;
    std::condition_variable changed;
    const std::function<void()>* work = nullptr;
    bool finished = false;
};

// Signal handlers run on the main thread only. With the interpreter lock
// held.
bool onMainThread()
{
    static std::uint64_t knownGeneration = 0;
    static unsigned long mainThread = 0;
    if (mainThread == 0 || knownGeneration != forkGeneration()) {
        mainThread = py::module_::import("threading").attr("main_thread")().attr("ident").cast<unsigned long>();
        knownGeneration = forkGeneration();
    }
    return PyThread_get_thread_ident() == mainThread;
}

} // namespace

namespace blocking_call_detail {

void runWithoutInterpreterLock(const std::function<void()>& work)
{
    ReleasedLock released;
    work();
    released.takeBack();
}

void runInterruptibly(const std::function<void()>& work, const std::function<void()>& interrupt)
{
    CallThread* const thread = onMainThread() ? &CallThread::ofThisProcess() : nullptr;
    if (thread == nullptr || thread->busy) {
        runWithoutInterpreterLock(work);
        return;
    }
    thread->busy = true;
    ReleasedLock released;
    thread->start(work);
    bool interrupted = false;
    while (!interrupted && !thread->waitFor(kSignalCheckInterval)) {
        released.takeBack();
        interrupted = PyErr_CheckSignals() != 0;
        released.releaseAgain();
    }
    if (interrupted) {
        // Again and again: an operation that the call starts after the
        // first interruption would otherwise wait to its end.
        do {
            interruptWithoutThrowing(interrupt);
        } while (!thread->waitFor(kSignalCheckInterval));
    }
    released.takeBack();
    thread->busy = false;
    if (interrupted) {
        // The handler's exception, pending since the check.
        throw py::error_already_set();
    }
}

void cancelPendingOperations(MarlekLink& link)
{
    link.cancelPendingOperations();
}

} // namespace blocking_call_detail
