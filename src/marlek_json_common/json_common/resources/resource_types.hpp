#pragma once

#include <boost/describe/enum.hpp>

#include <cstdint>
#include <optional>
#include <string_view>

// Kind of a stored resource; its name is also the path segment of the
// resource commands.
enum class ResourceTypeEnum : std::int32_t {
    UNDEFINED = 0,
    FIRMWARE_UPDATE = 1,
    WAVE = 2,
    CALIB_MESH = 3,
    MARLEK_BINARY = 4,
    DEBUG_INFO = 5,
    JOB_RESULT = 6,
};
BOOST_DESCRIBE_ENUM(ResourceTypeEnum, UNDEFINED, FIRMWARE_UPDATE, WAVE, CALIB_MESH, MARLEK_BINARY, DEBUG_INFO,
                    JOB_RESULT)

// DATASET_DC and DATASET_AC mark a job result holding a DC or an impedance
// dataset.
enum class ResourceSubType : std::int32_t {
    DEFAULT = 0,
    MARLEK_ISC = 1,
    MARLEK_ISF = 2,
    DATASET_DC = 3,
    DATASET_AC = 4,
};
BOOST_DESCRIBE_ENUM(ResourceSubType, DEFAULT, MARLEK_ISC, MARLEK_ISF, DATASET_DC, DATASET_AC)

// Who created a resource.
enum class ResourceCreator : std::int32_t {
    CLIENT = 0,
    JOB = 1,
};
BOOST_DESCRIBE_ENUM(ResourceCreator, CLIENT, JOB)

// "UNDEFINED" for a value without a name.
std::string_view resourceTypeName(ResourceTypeEnum type);
// Exact, case-sensitive match of a name; empty for any other text.
std::optional<ResourceTypeEnum> resourceTypeFromName(std::string_view name);

// "DEFAULT" for a value without a name.
std::string_view resourceSubTypeName(ResourceSubType subType);
std::optional<ResourceSubType> resourceSubTypeFromName(std::string_view name);

// "JOB" for JOB, "CLIENT" for every other value.
std::string_view resourceCreatorName(ResourceCreator creator);
