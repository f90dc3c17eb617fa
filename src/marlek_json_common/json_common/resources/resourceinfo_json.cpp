#include "marlek_json_common/json_common/resources/resourceinfo_json.hpp"

#include "marlek_json_common/json_common/protocol/json_members.hpp"

#include <boost/json.hpp>

namespace {

const boost::json::string* stringMember(const boost::json::object& object, std::string_view key)
{
    const auto* member = object.if_contains(key);
    return member != nullptr ? member->if_string() : nullptr;
}

std::uint64_t size(const boost::json::object& object)
{
    const auto* member = object.if_contains("size");
    if (member == nullptr || !member->is_number()) {
        return 0;
    }
    return member->to_number<std::uint64_t>();
}

} // namespace

void tag_invoke(const boost::json::value_from_tag&, boost::json::value& target, const ResourceInfo& info)
{
    target = boost::json::object{
        {"resource_id", info.resource_id},
        {"type", resourceTypeName(info.type)},
        {"sub_type", resourceSubTypeName(info.sub_type)},
        {"created_by", resourceCreatorName(info.created_by)},
        {"job_id", info.job_id},
        {"name", info.name},
        {"created", info.created},
        {"updated", info.updated},
        {"size", info.size},
        {"header", info.header ? *info.header : boost::json::value()},
    };
}

ResourceInfo tag_invoke(const boost::json::value_to_tag<ResourceInfo>&, const boost::json::value& source)
{
    const auto* object = source.if_object();
    if (object == nullptr) {
        return {};
    }
    ResourceInfo info;
    if (const auto* type = stringMember(*object, "type")) {
        info.type = resourceTypeFromName(*type).value_or(ResourceTypeEnum::UNDEFINED);
    }
    if (const auto* subType = stringMember(*object, "sub_type")) {
        info.sub_type = resourceSubTypeFromName(*subType).value_or(ResourceSubType::DEFAULT);
    }
    if (const auto* creator = stringMember(*object, "created_by"); creator != nullptr && *creator == "JOB") {
        info.created_by = ResourceCreator::JOB;
    }
    info.size = size(*object);
    if (const auto* header = object->if_contains("header"); header != nullptr && !header->is_null()) {
        info.header = std::make_shared<boost::json::value>(*header);
    }
    using jsonmembers::stringOrEmpty;
    info.resource_id = stringOrEmpty(*object, "resource_id");
    info.job_id = stringOrEmpty(*object, "job_id");
    info.name = stringOrEmpty(*object, "name");
    info.created = stringOrEmpty(*object, "created");
    info.updated = stringOrEmpty(*object, "updated");
    return info;
}
