#pragma once

#include <cstdint>

// The slot of an external potentiostat on an XPC card.
struct PotConnection {
    std::uint64_t card_index = 0;
    std::uint64_t connector_index = 0;
};
