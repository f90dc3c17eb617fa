#pragma once

#include "marlek_json_common/json_common/logging/error_object.hpp"

#include <boost/json/fwd.hpp>

#include <string_view>

// The errors the session makes up when no real answer can come, each with
// its one fixed message and no parameters.
namespace ErrorFactory {

template <ErrorCodeEnum Code>
constexpr std::string_view fixedMessage()
{
    if constexpr (Code == ErrorCodeEnum::CONNECTION_NOT_ESTABLISHED) {
        return "no network connection has been established yet";
    } else if constexpr (Code == ErrorCodeEnum::CONNECTION_BROKEN) {
        return "network connection lost";
    } else if constexpr (Code == ErrorCodeEnum::CONNECTION_WAS_CLOSED) {
        return "network connection closed by remote peer";
    } else if constexpr (Code == ErrorCodeEnum::OPERATION_TIMED_OUT) {
        return "operation timed out";
    } else if constexpr (Code == ErrorCodeEnum::STOPPED_MANUALLY) {
        return "manually stopped";
    } else {
        static_assert(Code == ErrorCodeEnum::CONNECTION_NOT_ESTABLISHED, "no fixed message for this code");
        return {};
    }
}

template <ErrorCodeEnum Code>
ErrorObject makeError()
{
    return ErrorObject(Code, fixedMessage<Code>());
}

// The error's JSON form, as the workstation would send it in "error".
boost::json::value makeJsonError(const ErrorObject& error);

template <ErrorCodeEnum Code>
boost::json::value makeJsonError()
{
    return makeJsonError(makeError<Code>());
}

} // namespace ErrorFactory
