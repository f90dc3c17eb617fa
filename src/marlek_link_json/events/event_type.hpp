#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// The kinds of event the workstation pushes; the name is the "type" of the
// event object. JOB_DONE files the handlers of job completions.
enum class EventTypeEnum : std::uint32_t {
    UNKNOWN = 0,
    JOB_STATUS_UPDATE = 1,
    MESSAGE_FROM_JOB = 2,
    MESSAGE_FROM_SERVER = 3,
    JOB_DONE = 4,
    LIVE_DATA_HEADER = 5,
    LIVE_DATA_HEADER_EIS = 6,
    LIVE_DATA_ROWS = 7,
    LIVE_DATA_ROW_EIS = 8,
    LIVE_DATA_WAVES = 9,
    LIVE_DATA_FINISHED = 10,
};

// Exact, case-sensitive match of a name; empty for any other text.
std::optional<EventTypeEnum> eventTypeFromName(std::string_view name);
// "UNKNOWN" for a value without a name.
std::string_view eventTypeName(EventTypeEnum type);
