#pragma once

#include <boost/asio/cancellation_signal.hpp>
#include <boost/asio/cancellation_type.hpp>

#include <list>
#include <mutex>

// One cancellation signal per running time-out of a session. A signal whose
// slot has no handler is free again: the time-out clears its slot when it
// completes. Signals are kept until the owner goes.
class CancellationSignals {
public:
    boost::asio::cancellation_slot slot();
    void emitSignal(boost::asio::cancellation_type type);

private:
    std::mutex mutex;
    std::list<boost::asio::cancellation_signal> signals;
};
