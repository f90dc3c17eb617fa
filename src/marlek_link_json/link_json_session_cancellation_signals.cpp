#include "marlek_link_json/link_json_session_cancellation_signals.hpp"

boost::asio::cancellation_slot CancellationSignals::slot()
{
    std::lock_guard lock(mutex);
    for (auto& signal : signals) {
        if (!signal.slot().has_handler()) {
            return signal.slot();
        }
    }
    return signals.emplace_back().slot();
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
