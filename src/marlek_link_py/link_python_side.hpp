#pragma once

// What the Python layer keeps beside each core link: the Python objects the
// link holds (for the collector), and what keeps calls from several Python
// threads, from the link's own callbacks and from the exit hook from
// racing or waiting for themselves.

#include "marlek_link_py/callback_bridge.hpp"
#include "marlek_link_py/fork_safe_mutex.hpp"

#include <pybind11/pybind11.h>

#include <cstdint>
#include <memory>
#include <vector>

class MarlekLink;

// Unless said otherwise, every function here needs the interpreter lock,
// which also guards the registry of links and the Python references. A side
// is let go of under that lock too, or after its references have been
// taken.
class LinkPythonSide {
public:
    LinkPythonSide();
    LinkPythonSide(const LinkPythonSide&) = delete;
    LinkPythonSide& operator=(const LinkPythonSide&) = delete;

    // Created on first use, which the link's constructor makes, so that the
    // side knows the process the link was made in; gone with forget.
    static std::shared_ptr<LinkPythonSide> of(const MarlekLink& link);
    // Null for a link never seen.
    static std::shared_ptr<LinkPythonSide> find(const MarlekLink& link);
    static std::shared_ptr<LinkPythonSide> forget(const MarlekLink& link);

    // The module's exit hook, while the interpreter is still intact: closes
    // every link of this process that is still open, in the order of
    // disconnect (the status callback goes first), so that no thread of
    // theirs is left in a Python callback, then shuts the library's threads
    // out of Python (closeInterpreterEntry). Waits without the lock. Links
    // inherited by a child made by fork are left alone: their threads are
    // the parent's.
    static void closeEveryLinkAtExit();

    // True on a thread of one of the library's sessions, that is inside one
    // of their callbacks: there a call that waits for the session's threads
    // or locks would wait for itself. Without the lock too.
    static bool onSessionThread();

    // A link of the parent, in a child made by fork. Without the lock too.
    bool inherited() const;

    // The Python objects of the handlers registered with the link, each
    // once. The one dropped is handed back, for the caller to let go of
    // once the core has let go of the handler.
    void keepHandler(pybind11::object handler);
    pybind11::object dropHandler(pybind11::handle handler);
    // The status callback's callable (null for none); the previous one is
    // handed back like a dropped handler.
    std::shared_ptr<PyCallableRef> replaceStatusCallable(std::shared_ptr<PyCallableRef> callable);

    // Everything above, handed over when the link goes.
    struct PythonReferences {
        std::vector<pybind11::object> handlers;
        std::shared_ptr<PyCallableRef> statusCallable;
    };
    PythonReferences takePythonReferences();

    // The collector's slots of the link's object: each reference above is
    // reported here and nowhere else. Clearing breaks what the link alone
    // can break, and takes no lock of the library: the connection's thread
    // may hold one while it waits for the interpreter lock.
    int traverse(visitproc visit, void* arg) const;
    void clear();

    // Serialises connecting with closing the link (the exit hook, the
    // link's destruction); taken without the interpreter lock.
    ForkSafeMutex coreMutex;
    // Set under coreMutex once the link is deleted or about to be: the exit
    // hook then leaves it alone.
    bool linkGone = false;

private:
    const std::uint64_t generation;
    std::vector<pybind11::object> handlers;
    std::shared_ptr<PyCallableRef> statusCallable;
};
