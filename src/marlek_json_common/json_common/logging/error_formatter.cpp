#include "marlek_json_common/json_common/logging/error_formatter.hpp"

#include "marlek_json_common/json_common/text/format.hpp"
#include "marlek_json_common/json_common/text/number_text.hpp"

#include <fmt/args.h>

#include <algorithm>
#include <cmath>

template <>
struct fmt::formatter<ErrorParameter> {
    // The specification stays text until the held alternative is known.
    std::string_view specification;

    constexpr auto parse(fmt::format_parse_context& ctx)
    {
        auto it = ctx.begin();
        auto end = it;
        while (end != ctx.end() && *end != '}') {
            ++end;
        }
        specification = std::string_view(it, static_cast<std::size_t>(end - it));
        if (specification.find('{') != std::string_view::npos) {
            // A width or precision taken from another parameter is not
            // supported: the inner formatter would look for it in a context
            // that holds no arguments.
            throw mfmt::format_error("nested replacement field in a format specification");
        }
        if (exceedsWidthBound(specification)) {
            // A huge width or precision from a peer's message would cost
            // seconds and gigabytes; such a message is not formatted.
            throw mfmt::format_error("format width or precision too large");
        }
        return end;
    }

    fmt::format_context::iterator format(const ErrorParameter& parameter, fmt::format_context& ctx) const
    {
        return std::visit(
            [&](const auto& value) {
                using T = std::remove_cvref_t<decltype(value)>;
                if constexpr (std::is_same_v<T, double>) {
                    if (usesShortestDoubleText()) {
                        return formatShortestDouble(value, ctx);
                    }
                }
                return formatWith<T>(value, ctx, specification);
            },
            parameter);
    }

private:
    // Width and precision are the only numbers of a specification; a fill
    // digit stands apart from them behind its alignment sign.
    static constexpr bool exceedsWidthBound(std::string_view spec)
    {
        std::size_t value = 0;
        for (const char c : spec) {
            if (c < '0' || c > '9') {
                value = 0;
                continue;
            }
            value = value * 10 + static_cast<std::size_t>(c - '0');
            if (value > kMaxErrorFormatWidth) {
                return true;
            }
        }
        return false;
    }

    fmt::format_context::iterator formatShortestDouble(double value, fmt::format_context& ctx) const
    {
        std::string text = numtext::shortest(value);
        if (!zeroPadded() || !std::isfinite(value)) {
            return formatWith<std::string_view>(text, ctx, numberDefaultedSpecification());
        }
        // The zeros go between the sign and the digits: -1.5 at width 8 is "-00001.5".
        std::size_t width = 0;
        for (const char c : specification.substr(1)) {
            width = width * 10 + static_cast<std::size_t>(c - '0');
        }
        if (text.size() < width) {
            text.insert(text.starts_with('-') ? 1 : 0, width - text.size(), '0');
        }
        return std::copy(text.begin(), text.end(), ctx.out());
    }

    bool zeroPadded() const
    {
        return !specification.empty() && specification.front() == '0'
            && specification.find_first_of("<>^") == std::string_view::npos;
    }

    template <typename T, typename V>
    static fmt::format_context::iterator formatWith(const V& value, fmt::format_context& ctx, std::string_view spec)
    {
        fmt::formatter<T> inner;
        fmt::format_parse_context specContext(fmt::string_view(spec.data(), spec.size()));
        auto parsedEnd = inner.parse(specContext);
        if (parsedEnd != specContext.end()) {
            throw mfmt::format_error("invalid format specifier");
        }
        return inner.format(value, ctx);
    }

    // Without precision or presentation type a double is written in the
    // shortest round-trip text, as the standard rule has it; only fill,
    // alignment and width may then apply.
    bool usesShortestDoubleText() const
    {
        return specification.find_first_not_of("0123456789<>^") == std::string_view::npos
            || (specification.size() >= 2 && (specification[1] == '<' || specification[1] == '>'
                                              || specification[1] == '^')
                && specification.substr(2).find_first_not_of("0123456789") == std::string_view::npos);
    }

    // Numbers align right unless told otherwise, strings left.
    std::string numberDefaultedSpecification() const
    {
        const bool hasAlign = specification.find_first_of("<>^") != std::string_view::npos;
        if (hasAlign || specification.empty()) {
            return std::string(specification);
        }
        if (specification.front() == '0') {
            // Zero padding does not apply to inf and nan: they pad with spaces.
            return ">" + std::string(specification.substr(1));
        }
        return ">" + std::string(specification);
    }
};

std::string format_with_dynamic_params(std::string_view format,
                                       const std::vector<ErrorParameter>& parameters)
{
    if (parameters.empty()) {
        return std::string(format);
    }
    if (parameters.size() > kMaxFormattedErrorParameters) {
        return mfmt::format("Error: Too many parameters ({} > {}). Format string: '{}'",
                            parameters.size(), kMaxFormattedErrorParameters, format);
    }
    fmt::dynamic_format_arg_store<fmt::format_context> arguments;
    for (const auto& parameter : parameters) {
        arguments.push_back(std::cref(parameter));
    }
    return fmt::vformat(fmt::string_view(format.data(), format.size()), arguments);
}

namespace ErrorFormatters {

std::string DefaultErrorFormatter::getFormatted(const ErrorObject& error) const
{
    return format_with_dynamic_params(error.getMessageFormatString(), error.getMessageParameters());
}

std::string formatOrFallback(const ErrorObject& error)
{
    try {
        return error.getMessageFormatted<DefaultErrorFormatter>();
    } catch (const mfmt::format_error&) {
        return error.getMessageFormatString();
    }
}

} // namespace ErrorFormatters
