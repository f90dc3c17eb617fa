#include "marlek_link_json/events/event_type.hpp"

#include <array>
#include <utility>

namespace {

constexpr std::array<std::pair<EventTypeEnum, std::string_view>, 11> kEventTypeNames{{
    {EventTypeEnum::UNKNOWN, "UNKNOWN"},
    {EventTypeEnum::JOB_STATUS_UPDATE, "JOB_STATUS_UPDATE"},
    {EventTypeEnum::MESSAGE_FROM_JOB, "MESSAGE_FROM_JOB"},
    {EventTypeEnum::MESSAGE_FROM_SERVER, "MESSAGE_FROM_SERVER"},
    {EventTypeEnum::JOB_DONE, "JOB_DONE"},
    {EventTypeEnum::LIVE_DATA_HEADER, "LIVE_DATA_HEADER"},
    {EventTypeEnum::LIVE_DATA_HEADER_EIS, "LIVE_DATA_HEADER_EIS"},
    {EventTypeEnum::LIVE_DATA_ROWS, "LIVE_DATA_ROWS"},
    {EventTypeEnum::LIVE_DATA_ROW_EIS, "LIVE_DATA_ROW_EIS"},
    {EventTypeEnum::LIVE_DATA_WAVES, "LIVE_DATA_WAVES"},
    {EventTypeEnum::LIVE_DATA_FINISHED, "LIVE_DATA_FINISHED"},
}};

} // namespace

std::optional<EventTypeEnum> eventTypeFromName(std::string_view name)
{
    for (const auto& [type, text] : kEventTypeNames) {
        if (text == name) {
            return type;
        }
    }
    return std::nullopt;
}

std::string_view eventTypeName(EventTypeEnum type)
{
    for (const auto& [value, text] : kEventTypeNames) {
        if (value == type) {
            return text;
        }
    }
    return "UNKNOWN";
}
