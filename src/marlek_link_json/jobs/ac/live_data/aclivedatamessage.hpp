#pragma once

#include "marlek_json_common/json_common/protocol/livedataheadereis.hpp"
#include "marlek_link_json/jobs/ac/live_data/livedataroweis.hpp"
#include "marlek_link_json/jobs/ac/live_data/livedatawaveseis.hpp"

#include <cstdint>

enum class AcLiveDataMessageKind : std::int32_t {
    HEADER = 0,
    ROW = 1,
    WAVES = 2,
    FINISHED = 3,
};

// What an impedance job's live-data callback receives. The pointers are never
// null and stay valid only during the callback; a message that carries no
// row or no fragment points to an empty one.
struct AcLiveDataMessage {
    AcLiveDataMessageKind kind;
    // The job's latest header, for every kind.
    const LiveDataHeaderEis* header;
    const LiveDataRowEis* row;
    const LiveDataWavesEis* waves;
};
