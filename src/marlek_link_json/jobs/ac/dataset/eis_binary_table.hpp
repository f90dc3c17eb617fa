#pragma once

#include "marlek_json_common/json_common/protocol/livedataheadereis.hpp"

#include <cstddef>
#include <string>

// An impedance dataset as the workstation delivers it: the bytes of the
// binary table and the header and row count that give them their shape.
struct EisBinaryTable {
    std::string data;
    // The dataset's header, with "wave_id" and "wave_size" meta columns added
    // when the writer had to make them.
    LiveDataHeaderEis header;
    std::size_t number_of_rows = 0;
};
