#pragma once

#include <cstdint>
#include <string>

// The descriptive fields of a ".mrb" snapshot, read from its metadata alone.
struct MrbFileInfo {
    std::uint64_t protocol_version = 0;
    std::string sub_type;
    std::uint64_t number_of_rows = 0;
    std::uint64_t size = 0;
    std::string name;

    friend bool operator==(const MrbFileInfo&, const MrbFileInfo&) = default;
};
