#pragma once

#include <cstdint>
#include <string_view>

enum class JobStatusEnum : std::int32_t {
    UNKNOWN = 0,
    PENDING = 1,
    RUNNING = 2,
    FINISHED = 3,
    FAILED = 4,
    DELETED = 5,
};

enum class JobStatusDetailEnum : std::int32_t {
    NOT_FINISHED = 0,
    RUN_TO_COMPLETION = 1,
    NOT_CONNECTED = 2,
    FAILED_TO_CREATE = 3,
    CANCELLED_BEFORE_RUN = 4,
    STOPPED_BY_USER = 5,
    FUNCTIONAL_LIMIT_OCCURRED = 6,
    SAFETY_LIMIT_OCCURRED = 7,
    CONNECTION_LOSS = 8,
    RUNTIME_ERROR = 9,
};

// The value's name, the text used in JSON, XML and Python; "" for a value
// outside the enumeration.
std::string_view jobStatusName(JobStatusEnum status);
std::string_view jobStatusDetailName(JobStatusDetailEnum detail);

// Exact, case-sensitive, whole-text match. On a match stores the value and
// returns true; otherwise leaves `target` alone.
bool parseJobStatus(std::string_view text, JobStatusEnum& target);
bool parseJobStatusDetail(std::string_view text, JobStatusDetailEnum& target);
