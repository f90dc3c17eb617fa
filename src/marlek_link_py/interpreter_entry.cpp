#include "marlek_link_py/interpreter_entry.hpp"

#include "marlek_link_json/fork_generation.hpp"

#include <pthread.h>

#include <atomic>
#include <cstddef>
#include <thread>
#include <utility>

namespace {

// Entries in progress, and whether the gate is closed. Sequentially
// consistent: an entry counts itself before it looks at the gate, the exit
// hook closes the gate before it looks at the count, so one of the two
// always sees the other.
std::atomic<std::size_t> entries{0};
std::atomic<bool> closed{false};
// The thread that closed the gate: it finalizes the interpreter and keeps
// the right to enter.
std::atomic<std::thread::id> closer{};

// In a child made by fork, where only async-signal-safe work is allowed:
// one atomic store.
void forgetEntriesOfParent()
{
    entries.store(0);
}

const int registered = pthread_atfork(nullptr, nullptr, &forgetEntriesOfParent);

void leave(std::uint64_t generation)
{
    if (generation != forkGeneration()) {
        return;
    }
    if (entries.fetch_sub(1) == 1 && closed.load()) {
        entries.notify_all();
    }
}

std::uint64_t countEntry()
{
    static_cast<void>(registered);
    entries.fetch_add(1);
    return forkGeneration();
}

// The Python thread state a thread of the library keeps once it has called
// a callback. Deleted when the thread ends, under the interpreter lock,
// unless the interpreter is closing: its finalization deletes every thread
// state that is left.
class KeptThreadState {
public:
    KeptThreadState() = default;
    KeptThreadState(const KeptThreadState&) = delete;
    KeptThreadState& operator=(const KeptThreadState&) = delete;

    ~KeptThreadState()
    {
        if (state == nullptr) {
            return;
        }
        const InterpreterEntry entry = InterpreterEntry::enter();
        if (!entry) {
            return;
        }
        PyEval_RestoreThread(state);
        // The last reference of the thread state: clears and deletes it and
        // lets go of the lock.
        PyGILState_Release(PyGILState_UNLOCKED);
    }

    PyThreadState* state = nullptr;
};

thread_local KeptThreadState kept;

} // namespace

InterpreterEntry::InterpreterEntry(bool admitted) : admitted(admitted), generation(admitted ? countEntry() : 0) {}

InterpreterEntry InterpreterEntry::enter()
{
    InterpreterEntry entry(true);
    if (closed.load() || Py_IsFinalizing()) {
        return InterpreterEntry(false);
    }
    return entry;
}

InterpreterEntry InterpreterEntry::enterFromInside()
{
    return InterpreterEntry(true);
}

InterpreterEntry InterpreterEntry::enterToReturn()
{
    InterpreterEntry entry = enter();
    if (!entry && closer.load() == std::this_thread::get_id()) {
        // Counted like any admitted entry, which its end takes off again.
        return enterFromInside();
    }
    return entry;
}

InterpreterEntry::InterpreterEntry(InterpreterEntry&& other) noexcept
    : admitted(other.admitted), generation(other.generation)
{
    other.admitted = false;
}

InterpreterEntry::~InterpreterEntry()
{
    if (admitted) {
        leave(generation);
    }
}

InterpreterLock::InterpreterLock(ThreadState threadState, InterpreterEntry admission) : entry(std::move(admission))
{
    // The finalizing thread, too, holds the lock here and goes on.
    if (PyThreadState_GetUnchecked() != nullptr) {
        state = State::AlreadyHeld;
        return;
    }
    if (!entry) {
        return;
    }
    const bool withoutThreadState = kept.state == nullptr && PyGILState_GetThisThreadState() == nullptr;
    previous = PyGILState_Ensure();
    if (withoutThreadState && threadState == ThreadState::KeptByThread) {
        // One more reference, owned by the thread, keeps the new thread state
        // past this scope.
        PyGILState_Ensure();
        kept.state = PyThreadState_Get();
    }
    state = State::Taken;
}

InterpreterLock::~InterpreterLock()
{
    if (state == State::Taken) {
        PyGILState_Release(previous);
    }
}

void closeInterpreterEntry()
{
    closer.store(std::this_thread::get_id());
    closed.store(true);
    for (std::size_t inProgress = entries.load(); inProgress != 0; inProgress = entries.load()) {
        entries.wait(inProgress);
    }
}
