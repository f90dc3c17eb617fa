#pragma once

#include <boost/describe/enum.hpp>

#include <cstdint>
#include <string>

// Operating mode the workstation runs in.
enum class WorkstationModeEnum : std::int32_t {
    NORMAL = 0,
    RECOVERY = 1,
    FAILSAFE = 2,
    EMULATION = 1000,
};
BOOST_DESCRIBE_ENUM(WorkstationModeEnum, NORMAL, RECOVERY, FAILSAFE, EMULATION)

// Identity of a workstation, as reported in the "workstation" member of "/id".
struct WorkstationInfo {
    // 0 means unknown.
    std::uint64_t protocol_version = 0;
    std::string serial_number;
    std::string model_name;
    std::string firmware_version;
    std::string firmware_build_id;
    std::string cpu_card_uuid;
    std::string system_mac;
    std::string system_name;
    WorkstationModeEnum mode = WorkstationModeEnum::NORMAL;

    friend bool operator==(const WorkstationInfo&, const WorkstationInfo&) = default;
};
