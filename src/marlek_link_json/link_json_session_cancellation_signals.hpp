#pragma once

#include <boost/asio/cancellation_signal.hpp>
#include <boost/asio/cancellation_type.hpp>

#include <list>
#include <mutex>
#include <vector>

// One cancellation signal per running time-out of a session. A time-out
// takes a signal when it starts and gives it back when it completes; both
// take constant time, so that a burst of requests costs nothing later on.
// Signals are kept until the owner goes, and reused.
class CancellationSignals {
public:
    boost::asio::cancellation_signal& take();
    void giveBack(boost::asio::cancellation_signal& signal);
    // Emits on every signal taken and not yet given back.
    void emitSignal(boost::asio::cancellation_type type);

private:
    std::mutex mutex;
    std::list<boost::asio::cancellation_signal> signals; // stable addresses
    std::vector<boost::asio::cancellation_signal*> freeSignals;
};
