#pragma once

#include "marlek_json_common/json_common/protocol/livedataheader.hpp"

#include <cstdint>
#include <vector>

enum class DcLiveDataMessageKind : std::int32_t {
    HEADER = 0,
    ROWS = 1,
    FINISHED = 2,
};

// What a DC job's live-data callback receives. The pointers are never null
// and stay valid only during the callback: a callback that keeps data copies
// it. They point to constant data because the same header and rows go to
// every callback of the job in turn.
struct DcLiveDataMessage {
    DcLiveDataMessageKind kind;
    // The job's latest header, for every kind.
    const LiveDataHeader* header;
    // For ROWS the rows received, each in the header's column order; empty
    // for the other kinds.
    const std::vector<std::vector<double>>* rows;
};
