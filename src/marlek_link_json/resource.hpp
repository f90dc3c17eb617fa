#pragma once

#include "marlek_json_common/json_common/resources/resourceinfo.hpp"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The caller's handle of one resource stored on the workstation. Id and type
// identify it; the rest is the last known description. A handle without an
// id is invalid: that is what failed create operations return.
class Resource {
public:
    // Most content bytes one append or get request carries (as base64 at
    // most 524288 characters).
    static constexpr std::size_t DATA_CHUNK_SIZE_LIMIT = 393216;

    Resource() = default;
    explicit Resource(ResourceInfo info) : info(std::move(info)) {}

    static Resource fromId(ResourceTypeEnum type, std::string_view resourceId);

    bool isValid() const { return !info.resource_id.empty(); }

    const std::string& getResourceId() const { return info.resource_id; }
    ResourceTypeEnum getType() const { return info.type; }
    const std::string& getName() const { return info.name; }
    const std::string& getCreated() const { return info.created; }
    const std::string& getUpdated() const { return info.updated; }
    std::uint64_t getSize() const { return info.size; }

    const ResourceInfo& getResourceInfo() const { return info; }
    void setResourceInfo(ResourceInfo updated) { info = std::move(updated); }

private:
    ResourceInfo info;
};
