#include "marlek_link_json/jobs/common/jobstatus.hpp"

#include <array>
#include <cstddef>

namespace {

constexpr std::array<std::string_view, 6> statusNames{
    "UNKNOWN", "PENDING", "RUNNING", "FINISHED", "FAILED", "DELETED",
};

constexpr std::array<std::string_view, 10> detailNames{
    "NOT_FINISHED",
    "RUN_TO_COMPLETION",
    "NOT_CONNECTED",
    "FAILED_TO_CREATE",
    "CANCELLED_BEFORE_RUN",
    "STOPPED_BY_USER",
    "FUNCTIONAL_LIMIT_OCCURRED",
    "SAFETY_LIMIT_OCCURRED",
    "CONNECTION_LOSS",
    "RUNTIME_ERROR",
};

template <std::size_t N>
std::string_view nameAt(const std::array<std::string_view, N>& names, std::int32_t value)
{
    if (value < 0 || static_cast<std::size_t>(value) >= N) {
        return {};
    }
    return names[static_cast<std::size_t>(value)];
}

template <typename Enum, std::size_t N>
bool parseName(const std::array<std::string_view, N>& names, std::string_view text, Enum& target)
{
    for (std::size_t i = 0; i < N; ++i) {
        if (names[i] == text) {
            target = static_cast<Enum>(i);
            return true;
        }
    }
    return false;
}

} // namespace

std::string_view jobStatusName(JobStatusEnum status)
{
    return nameAt(statusNames, static_cast<std::int32_t>(status));
}

std::string_view jobStatusDetailName(JobStatusDetailEnum detail)
{
    return nameAt(detailNames, static_cast<std::int32_t>(detail));
}

bool parseJobStatus(std::string_view text, JobStatusEnum& target)
{
    return parseName(statusNames, text, target);
}

bool parseJobStatusDetail(std::string_view text, JobStatusDetailEnum& target)
{
    return parseName(detailNames, text, target);
}
