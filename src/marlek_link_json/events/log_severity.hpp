#pragma once

#include <boost/describe/enum.hpp>

#include <cstdint>

// Severity of a log message from the workstation or one of its jobs; the
// name is the "severity" text of the message.
enum class LogSeverityEnum : std::int32_t {
    DEBUG = 0,
    MESSAGE = 1,
    WARNING = 2,
    CRITICAL_ERROR = 3,
};
BOOST_DESCRIBE_ENUM(LogSeverityEnum, DEBUG, MESSAGE, WARNING, CRITICAL_ERROR)
