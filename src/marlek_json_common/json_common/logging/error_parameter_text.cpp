#include "marlek_json_common/json_common/logging/error_parameter_text.hpp"

#include "marlek_json_common/json_common/text/format.hpp"

#include <type_traits>

std::string errorParameterText(const ErrorParameter& parameter)
{
    return std::visit(
        [](const auto& value) -> std::string {
            using T = std::remove_cvref_t<decltype(value)>;
            if constexpr (std::is_same_v<T, bool>) {
                return value ? "true" : "false";
            } else if constexpr (std::is_same_v<T, double>) {
                // {fmt} ignores the locale unless asked, where printf's "%f"
                // follows it.
                return mfmt::format("{:f}", value);
            } else if constexpr (std::is_same_v<T, std::string>) {
                return value;
            } else {
                return mfmt::format("{}", value);
            }
        },
        parameter);
}
