#pragma once

// What the Python layer keeps beside each core link, so that calls from
// several Python threads and from the link's own callbacks neither race on
// the link's settings nor wait for themselves.

#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class MarlekLink;

class LinkPythonSide {
public:
    // Created on first use; gone with forget.
    static std::shared_ptr<LinkPythonSide> of(const MarlekLink& link);
    static std::shared_ptr<LinkPythonSide> forget(const MarlekLink& link);

    // The module's exit hook, while the interpreter is still intact and with
    // its lock held: closes every link that is still open, in the order of
    // disconnect (the status callback goes first), so that no thread of
    // theirs is left in a Python callback, then shuts the library's threads
    // out of Python (closeInterpreterEntry). Waits without the lock.
    static void closeEveryLinkAtExit();

    // True on a thread of one of the library's sessions, that is inside one
    // of their callbacks: there a call that waits for the session's threads
    // or locks would wait for itself.
    static bool onSessionThread();

    // Serialises the calls that change the link's handler set or session
    // (connect, disconnect, registrations, the exit hook's closing and the
    // link's destruction); taken without the interpreter lock.
    std::mutex coreMutex;

    // Runs `work` on a thread of its own, for registrations made from a
    // callback: they take effect once the dispatch in progress has ended.
    void runLater(std::function<void()> work);
    // Waits for everything runLater started. Without the interpreter lock.
    void joinLaterWork();

    ~LinkPythonSide();

private:
    std::mutex laterMutex;
    std::vector<std::thread> later;
};
