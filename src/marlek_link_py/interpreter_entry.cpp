#include "marlek_link_py/interpreter_entry.hpp"

#include <atomic>
#include <cstddef>
#include <utility>

namespace {

// Entries in progress, and whether the gate is closed. Sequentially
// consistent: an entry counts itself before it looks at the gate, the exit
// hook closes the gate before it looks at the count, so one of the two
// always sees the other.
std::atomic<std::size_t> entries{0};
std::atomic<bool> closed{false};

void leave()
{
    if (entries.fetch_sub(1) == 1 && closed.load()) {
        entries.notify_all();
    }
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

InterpreterEntry InterpreterEntry::enter()
{
    entries.fetch_add(1);
    if (closed.load() || Py_IsFinalizing()) {
        leave();
        return InterpreterEntry(false);
    }
    return InterpreterEntry(true);
}

InterpreterEntry InterpreterEntry::enterFromInside()
{
    entries.fetch_add(1);
    return InterpreterEntry(true);
}

InterpreterEntry::InterpreterEntry(InterpreterEntry&& other) noexcept : admitted(other.admitted)
{
    other.admitted = false;
}

InterpreterEntry::~InterpreterEntry()
{
    if (admitted) {
        leave();
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
    closed.store(true);
    for (std::size_t inProgress = entries.load(); inProgress != 0; inProgress = entries.load()) {
        entries.wait(inProgress);
    }
}
