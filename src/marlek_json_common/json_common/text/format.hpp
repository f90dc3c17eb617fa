#pragma once
// The library's text formatting, in one place. The standard library's
// runtime formatting is not available with every compiler we support, so
// formatting goes through {fmt}. Where the two differ (the text of a double
// without a specification), numtext::shortest gives the standard's text.

#include <fmt/format.h>

#include <string>
#include <string_view>
#include <utility>

namespace mfmt {

// Raised when a format string does not fit its arguments.
using format_error = fmt::format_error;

template <typename... Args>
std::string format(fmt::format_string<Args...> formatString, Args&&... args)
{
    return fmt::format(formatString, std::forward<Args>(args)...);
}

// Format with a format string only known at run time.
template <typename... Args>
std::string runtimeFormat(std::string_view formatString, const Args&... args)
{
    return fmt::vformat(fmt::string_view(formatString.data(), formatString.size()),
                        fmt::make_format_args(args...));
}

} // namespace mfmt
