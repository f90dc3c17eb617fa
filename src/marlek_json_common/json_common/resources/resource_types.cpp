#include "marlek_json_common/json_common/resources/resource_types.hpp"

#include <boost/describe/enum_from_string.hpp>
#include <boost/describe/enum_to_string.hpp>

namespace {

template <typename Enum>
std::optional<Enum> fromName(std::string_view name)
{
    Enum value{};
    if (boost::describe::enum_from_string(name, value)) {
        return value;
    }
    return std::nullopt;
}

} // namespace

std::string_view resourceTypeName(ResourceTypeEnum type)
{
    return boost::describe::enum_to_string(type, "UNDEFINED");
}

std::optional<ResourceTypeEnum> resourceTypeFromName(std::string_view name)
{
    return fromName<ResourceTypeEnum>(name);
}

std::string_view resourceSubTypeName(ResourceSubType subType)
{
    return boost::describe::enum_to_string(subType, "DEFAULT");
}

std::optional<ResourceSubType> resourceSubTypeFromName(std::string_view name)
{
    return fromName<ResourceSubType>(name);
}

std::string_view resourceCreatorName(ResourceCreator creator)
{
    return creator == ResourceCreator::JOB ? "JOB" : "CLIENT";
}
