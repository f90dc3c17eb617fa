#pragma once

#include "marlek_json_common/json_common/resources/resource_types.hpp"

#include <boost/json/fwd.hpp>

#include <cstdint>
#include <memory>
#include <string>

// The workstation's description of one stored resource.
struct ResourceInfo {
    std::string resource_id;
    ResourceTypeEnum type = ResourceTypeEnum::UNDEFINED;
    ResourceSubType sub_type = ResourceSubType::DEFAULT;
    ResourceCreator created_by = ResourceCreator::CLIENT;
    // The job that produced the resource; empty otherwise.
    std::string job_id;
    std::string name;
    // Times as the workstation writes them; kept as text, never parsed.
    std::string created;
    std::string updated;
    // Content size in bytes.
    std::uint64_t size = 0;
    // Free JSON header (job information and data header of a job result);
    // copies share it, and it is never changed after reading.
    std::shared_ptr<boost::json::value> header;
};
