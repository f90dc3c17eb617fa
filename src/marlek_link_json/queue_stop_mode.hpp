#pragma once

#include <cstdint>

// What the workstation does with the queued jobs behind the one it stops.
enum class QueueStopModeEnum : std::uint32_t {
    // Drops every job queued behind it.
    QUEUE_STOP_MODE_FLUSH = 0,
    // Goes on with the next queued job.
    QUEUE_STOP_MODE_CONTINUE = 1,
};
