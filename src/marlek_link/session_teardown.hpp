#pragma once

#include <memory>

class LinkJsonSession;

// Ends sessions that a link gives up. Disconnecting a session joins its
// threads, so it cannot happen on one of them: there the disconnect runs on
// a thread of its own instead, which the program joins at exit at the
// latest. Elsewhere it happens at once, before dispose returns.
class SessionTeardown {
public:
    // Disconnects the session and drops this reference to it; the session
    // object goes when its last user has finished with it.
    static void dispose(std::shared_ptr<LinkJsonSession> session);

    // Joins the teardowns that have finished. Does nothing on a session's
    // thread.
    static void reap();
};
