#pragma once

#include "marlek_link_json/jobs/ac/live_data/livedatawaveseis.hpp"

#include <boost/json/conversion.hpp>
#include <boost/json/fwd.hpp>

// Reads a LIVE_DATA_WAVES event object. Without an array "paths_waves" the
// result is the empty fragment; a missing or non-number "offset" or
// "full_wave_size" reads as 0. A non-number sample, or a position that is
// negative, fractional or beyond 64 bits, raises boost::system::system_error.
LiveDataWavesEis tag_invoke(const boost::json::value_to_tag<LiveDataWavesEis>&, const boost::json::value& source);

// The same for the event object itself, read in place without a copy.
LiveDataWavesEis liveDataWavesEisFromEvent(const boost::json::object& event);
