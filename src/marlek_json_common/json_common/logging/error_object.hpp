#pragma once

#include "marlek_json_common/json_common/logging/error_code.hpp"

#include <concepts>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

// One message parameter. The alternatives' order is part of the JSON and XML
// forms: bool, double, signed 64-bit, unsigned 64-bit, string.
using ErrorParameter = std::variant<bool, double, long long, unsigned long, std::string>;

// Maps an argument onto the alternative of its kind. On Linux int64_t is
// `long`, which a variant of `long long` and `unsigned long` would not pick
// reliably, so every integer is widened explicitly.
template <typename T>
ErrorParameter toErrorParameter(T&& value)
{
    using V = std::remove_cvref_t<T>;
    if constexpr (std::same_as<V, bool>) {
        return ErrorParameter(std::in_place_index<0>, value);
    } else if constexpr (std::floating_point<V>) {
        return ErrorParameter(std::in_place_index<1>, static_cast<double>(value));
    } else if constexpr (std::signed_integral<V>) {
        return ErrorParameter(std::in_place_index<2>, static_cast<long long>(value));
    } else if constexpr (std::unsigned_integral<V>) {
        return ErrorParameter(std::in_place_index<3>, static_cast<unsigned long>(value));
    } else if constexpr (std::is_enum_v<V>) {
        return toErrorParameter(static_cast<std::underlying_type_t<V>>(value));
    } else {
        static_assert(std::is_constructible_v<std::string, T&&>,
                      "an error parameter is a bool, a number or a string");
        return ErrorParameter(std::in_place_index<4>, std::string(std::forward<T>(value)));
    }
}

// The outcome of every operation: a code, a message format string with
// positional placeholders ("{0}") and the placeholder values, formatted late.
class ErrorObject {
public:
    ErrorObject() = default;

    template <typename... Args>
    ErrorObject(ErrorCodeEnum code, std::string_view messageFormat, Args&&... parameters)
        : code_(code), message_(messageFormat)
    {
        messageParameters_.reserve(sizeof...(Args));
        (appendParameter(std::forward<Args>(parameters)), ...);
    }

    ErrorObject(ErrorCodeEnum code, std::string messageFormat, std::vector<ErrorParameter> parameters)
        : code_(code), message_(std::move(messageFormat)), messageParameters_(std::move(parameters))
    {
    }

    ErrorCodeEnum getErrorCodeEnum() const { return code_; }
    const std::string& getMessageFormatString() const { return message_; }
    const std::vector<ErrorParameter>& getMessageParameters() const { return messageParameters_; }

    // Text of the message with its parameters filled in. May raise the
    // formatter's format error for a format string that does not fit.
    template <typename Formatter>
    std::string getMessageFormatted() const
    {
        static constexpr Formatter formatter{};
        return formatter.getFormatted(*this);
    }

    friend bool operator==(const ErrorObject&, const ErrorObject&) = default;

private:
    template <typename T>
    void appendParameter(T&& value)
    {
        // Strings are built in place: moving a short string out of a
        // temporary variant trips a false array-bounds warning in g++ 12.
        using V = std::remove_cvref_t<T>;
        if constexpr (std::is_constructible_v<std::string, T&&> && !std::is_arithmetic_v<V>) {
            messageParameters_.emplace_back(std::in_place_index<4>, std::forward<T>(value));
        } else {
            messageParameters_.push_back(toErrorParameter(std::forward<T>(value)));
        }
    }

    ErrorCodeEnum code_ = ErrorCodeEnum::NONE;
    std::string message_ = "no error occoured";
    std::vector<ErrorParameter> messageParameters_;
};
