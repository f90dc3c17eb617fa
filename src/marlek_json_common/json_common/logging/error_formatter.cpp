#include "marlek_json_common/json_common/logging/error_formatter.hpp"

#include "marlek_json_common/json_common/text/format.hpp"

#include <fmt/args.h>

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
        return end;
    }

    fmt::format_context::iterator format(const ErrorParameter& parameter, fmt::format_context& ctx) const
    {
        return std::visit(
            [&](const auto& value) {
                using T = std::remove_cvref_t<decltype(value)>;
                if constexpr (std::is_same_v<T, double>) {
                    if (usesShortestDoubleText()) {
                        return formatWith<std::string_view>(mfmt::shortestDouble(value), ctx,
                                                            numberDefaultedSpecification());
                    }
                }
                return formatWith<T>(value, ctx, specification);
            },
            parameter);
    }

private:
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
            // Zero padding of a number: pad the text with zeros on the left.
            return "0>" + std::string(specification.substr(1));
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
