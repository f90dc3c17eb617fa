#pragma once

// Entering the interpreter from threads that Python did not start: the
// connection's threads, which call Python callbacks and let go of Python
// objects.
//
// The interpreter may be finalizing at any moment, and a thread of its own
// that then asks for the interpreter lock is ended on the spot, which no
// C++ code survives. So every entry passes a gate, and the module's exit
// hook, which runs while the interpreter is still intact, closes the gate
// and waits for the entries in progress: from then on no thread of the
// library enters Python.

#include <Python.h>

#include <cstdint>

// A place in the gate, taken before the interpreter lock is asked for.
//
// A child made by fork starts with no entry in progress: the threads that
// held the parent's entries do not exist there, and an entry that the
// forking thread itself held leaves the parent's count, not the child's.
class InterpreterEntry {
public:
    // Empty once the gate is closed.
    static InterpreterEntry enter();
    // For a thread that is already inside (it holds the lock through an
    // entry of its own): its work goes on past the gate's closing, and the
    // exit hook waits for this entry too.
    static InterpreterEntry enterFromInside();
    // For a thread coming back from a call it made with the lock released:
    // as enter, except that the thread that closed the gate, which goes on
    // to finalize the interpreter, always passes.
    static InterpreterEntry enterToReturn();

    InterpreterEntry(InterpreterEntry&& other) noexcept;
    InterpreterEntry& operator=(InterpreterEntry&&) = delete;
    InterpreterEntry(const InterpreterEntry&) = delete;
    ~InterpreterEntry();

    explicit operator bool() const { return admitted; }

private:
    explicit InterpreterEntry(bool admitted);
    bool admitted;
    // The fork generation the entry was counted in.
    std::uint64_t generation;
};

// The interpreter lock for the scope of the object, on any thread. A thread
// that holds it already keeps it; any other passes the gate first, and when
// the gate is closed the lock is not taken (the object is then false).
class InterpreterLock {
public:
    // How long a thread of the library keeps the Python thread state made
    // for it: a thread that calls Python callbacks keeps it until the
    // thread ends, so that each call costs no more than the lock; one that
    // only lets go of an object has it for this scope alone.
    enum class ThreadState { KeptByThread, ForThisScope };

    explicit InterpreterLock(ThreadState threadState, InterpreterEntry entry = InterpreterEntry::enter());
    ~InterpreterLock();
    InterpreterLock(const InterpreterLock&) = delete;
    InterpreterLock& operator=(const InterpreterLock&) = delete;

    explicit operator bool() const { return state != State::Refused; }

private:
    enum class State { AlreadyHeld, Taken, Refused };

    InterpreterEntry entry;
    State state = State::Refused;
    PyGILState_STATE previous = PyGILState_UNLOCKED;
};

// The exit hook's last step, with the interpreter lock released: refuses
// every later entry and waits for those in progress.
void closeInterpreterEntry();
