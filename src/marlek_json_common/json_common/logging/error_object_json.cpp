#include "marlek_json_common/json_common/logging/error_object_json.hpp"

#include <boost/json.hpp>

#include <limits>
#include <optional>

namespace {

ErrorObject fallbackError()
{
    return ErrorObject(ErrorCodeEnum::UNKNOWN_ERR, "an unknown error occured");
}

// A JSON number that is exactly a non-negative 64-bit unsigned integer.
std::optional<std::uint64_t> exactUnsigned(const boost::json::value& value)
{
    if (value.is_uint64()) {
        return value.get_uint64();
    }
    if (value.is_int64()) {
        const auto v = value.get_int64();
        if (v >= 0) {
            return static_cast<std::uint64_t>(v);
        }
        return std::nullopt;
    }
    if (value.is_double()) {
        const double d = value.get_double();
        // 2^64 itself is the first double that does not fit.
        constexpr double limit = 18446744073709551616.0;
        if (d >= 0.0 && d < limit && d == static_cast<double>(static_cast<std::uint64_t>(d))) {
            return static_cast<std::uint64_t>(d);
        }
    }
    return std::nullopt;
}

std::optional<ErrorParameter> parameterFromJson(const boost::json::value& value)
{
    switch (value.kind()) {
    case boost::json::kind::bool_:
        return ErrorParameter(std::in_place_index<0>, value.get_bool());
    case boost::json::kind::double_:
        return ErrorParameter(std::in_place_index<1>, value.get_double());
    case boost::json::kind::int64:
        return ErrorParameter(std::in_place_index<2>, static_cast<long long>(value.get_int64()));
    case boost::json::kind::uint64:
        return ErrorParameter(std::in_place_index<3>, static_cast<unsigned long>(value.get_uint64()));
    case boost::json::kind::string:
        return ErrorParameter(std::in_place_index<4>, std::string(value.get_string()));
    default:
        return std::nullopt;
    }
}

} // namespace

void tag_invoke(const boost::json::value_from_tag&, boost::json::value& target, const ErrorObject& error)
{
    boost::json::array parameters;
    parameters.reserve(error.getMessageParameters().size());
    for (const auto& parameter : error.getMessageParameters()) {
        std::visit(
            [&](const auto& v) {
                using T = std::remove_cvref_t<decltype(v)>;
                if constexpr (std::is_same_v<T, long long>) {
                    parameters.emplace_back(static_cast<std::int64_t>(v));
                } else if constexpr (std::is_same_v<T, unsigned long>) {
                    parameters.emplace_back(static_cast<std::uint64_t>(v));
                } else {
                    parameters.emplace_back(v);
                }
            },
            parameter);
    }
    const auto code = static_cast<std::uint64_t>(error.getErrorCodeEnum());
    const auto name = errorCodeName(error.getErrorCodeEnum()).value_or("UNKNOWN_ERR");
    target = boost::json::object{
        {"number", code},
        {"code", name},
        {"message", error.getMessageFormatString()},
        {"message_parameters", std::move(parameters)},
    };
}

ErrorObject tag_invoke(const boost::json::value_to_tag<ErrorObject>&, const boost::json::value& source)
{
    const auto* object = source.if_object();
    if (object == nullptr) {
        return fallbackError();
    }
    const auto* number = object->if_contains("number");
    const auto* code = object->if_contains("code");
    const auto* message = object->if_contains("message");
    const auto* parameters = object->if_contains("message_parameters");

    const auto numericCode = number ? exactUnsigned(*number) : std::nullopt;
    if (!numericCode || code == nullptr || !code->is_string() || message == nullptr
        || !message->is_string()) {
        return fallbackError();
    }
    const auto namedCode = errorCodeFromName(code->get_string()).value_or(ErrorCodeEnum::UNKNOWN_ERR);
    if (*numericCode != static_cast<std::uint64_t>(namedCode)) {
        return fallbackError();
    }

    std::vector<ErrorParameter> messageParameters;
    if (parameters != nullptr && parameters->is_array()) {
        for (const auto& element : parameters->get_array()) {
            auto parameter = parameterFromJson(element);
            if (!parameter) {
                return fallbackError();
            }
            messageParameters.push_back(std::move(*parameter));
        }
    }
    return ErrorObject(namedCode, std::string(message->get_string()), std::move(messageParameters));
}
