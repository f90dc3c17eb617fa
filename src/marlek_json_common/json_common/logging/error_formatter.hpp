#pragma once

#include "marlek_json_common/json_common/logging/error_object.hpp"

#include <string>
#include <string_view>
#include <vector>

// At most this many parameters are substituted into a message.
inline constexpr std::size_t kMaxFormattedErrorParameters = 6;

// A placeholder with a larger width or precision is a format error.
inline constexpr std::size_t kMaxErrorFormatWidth = 1000;

// Substitutes the parameters into the format string. Raises mfmt::format_error
// when the format string does not fit the parameters.
std::string format_with_dynamic_params(std::string_view format,
                                       const std::vector<ErrorParameter>& parameters);

namespace ErrorFormatters {

class AbstractFormatter {
public:
    virtual std::string getFormatted(const ErrorObject& error) const = 0;

protected:
    constexpr AbstractFormatter() = default;
    ~AbstractFormatter() = default;
};

class DefaultErrorFormatter : public AbstractFormatter {
public:
    constexpr DefaultErrorFormatter() = default;
    std::string getFormatted(const ErrorObject& error) const override;
};

// For messages that may come from the workstation: the formatted text, or
// the unformatted format string when it does not fit its parameters.
std::string formatOrFallback(const ErrorObject& error);

} // namespace ErrorFormatters
