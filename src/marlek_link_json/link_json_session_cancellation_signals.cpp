#include "marlek_link_json/link_json_session_cancellation_signals.hpp"

boost::asio::cancellation_signal& CancellationSignals::take()
{
    std::lock_guard lock(mutex);
    if (freeSignals.empty()) {
        return signals.emplace_back();
    }
    boost::asio::cancellation_signal* signal = freeSignals.back();
    freeSignals.pop_back();
    return *signal;
}

void CancellationSignals::giveBack(boost::asio::cancellation_signal& signal)
{
    signal.slot().clear();
    std::lock_guard lock(mutex);
    freeSignals.push_back(&signal);
}

void CancellationSignals::emitSignal(boost::asio::cancellation_type type)
{
    std::lock_guard lock(mutex);
    for (auto& signal : signals) {
        if (signal.slot().has_handler()) {
            signal.emit(type);
        }
    }
}
