#include "marlek_link_json/jobs/control/settings/settings_set_json.hpp"

#include "marlek_json_common/json_common/text/format.hpp"

#include <boost/json.hpp>

#include <cstdint>
#include <iostream>
#include <limits>
#include <optional>

namespace {

void reportOutOfRange(std::string_view name, const boost::json::value& value)
{
    std::cerr << mfmt::format("setting {} left out: the integer {} does not fit 32 bits\n",
                              boost::json::serialize(boost::json::string(name)), boost::json::serialize(value));
}

std::optional<int> asInt32(const boost::json::value& value)
{
    constexpr auto low = std::numeric_limits<int>::min();
    constexpr auto high = std::numeric_limits<int>::max();
    if (value.is_int64() && value.get_int64() >= low && value.get_int64() <= high) {
        return static_cast<int>(value.get_int64());
    }
    if (value.is_uint64() && value.get_uint64() <= static_cast<std::uint64_t>(high)) {
        return static_cast<int>(value.get_uint64());
    }
    return std::nullopt;
}

} // namespace

void tag_invoke(const boost::json::value_from_tag&, boost::json::value& target, const SettingsSet& settings)
{
    boost::json::object object;
    for (const auto& [name, setting] : settings) {
        switch (setting.getType()) {
        case Setting::Type::BOOL:
            object[name] = setting.getBoolValue();
            break;
        case Setting::Type::INT:
            object[name] = static_cast<std::int64_t>(setting.getIntValue());
            break;
        case Setting::Type::DOUBLE:
            object[name] = setting.getDoubleValue();
            break;
        case Setting::Type::STRING:
            object[name] = setting.getStringValue();
            break;
        case Setting::Type::UNINITIALIZED:
            break;
        }
    }
    target = std::move(object);
}

SettingsSet settingsSetFromJson(const boost::json::object& settings)
{
    SettingsSet set;
    for (const auto& member : settings) {
        const std::string_view name = member.key();
        const auto& value = member.value();
        switch (value.kind()) {
        case boost::json::kind::bool_:
            set[name] = value.get_bool();
            break;
        case boost::json::kind::int64:
        case boost::json::kind::uint64:
            if (const auto integer = asInt32(value)) {
                set[name] = *integer;
            } else {
                reportOutOfRange(name, value);
            }
            break;
        case boost::json::kind::double_:
            set[name] = value.get_double();
            break;
        case boost::json::kind::string:
            set[name] = std::string_view(value.get_string());
            break;
        default:
            break;
        }
    }
    return set;
}
