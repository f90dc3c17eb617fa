#pragma once

#include "marlek_link_json/jobs/ac/live_data/livedataroweis.hpp"

#include <boost/json/conversion.hpp>
#include <boost/json/fwd.hpp>

// Reads a LIVE_DATA_ROW_EIS event object, whose six lists sit at its top
// level. A row lacking any list is worthless to the caller, so anything but
// an object with all six arrays gives the empty row; a non-number inside the
// arrays raises boost::system::system_error.
LiveDataRowEis tag_invoke(const boost::json::value_to_tag<LiveDataRowEis>&, const boost::json::value& source);

// The same for the event object itself, which it reads in place: a row
// event is not copied into a JSON value first.
LiveDataRowEis liveDataRowEisFromEvent(const boost::json::object& event);
