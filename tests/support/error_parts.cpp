#include "support/error_parts.hpp"

#include "marlek_json_common/json_common/logging/error_formatter.hpp"
#include "marlek_json_common/json_common/logging/error_object.hpp"

std::string formatted(const ErrorObject& error)
{
    return error.getMessageFormatted<ErrorFormatters::DefaultErrorFormatter>();
}

ErrorCodeEnum codeOf(const ErrorObject& error)
{
    return error.getErrorCodeEnum();
}
