#include "marlek_link_json/resource.hpp"

Resource Resource::fromId(ResourceTypeEnum type, std::string_view resourceId)
{
    ResourceInfo info;
    info.type = type;
    info.resource_id = std::string(resourceId);
    return Resource(std::move(info));
}
