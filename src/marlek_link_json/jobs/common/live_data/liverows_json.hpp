#pragma once

#include <boost/json/fwd.hpp>

#include <vector>

// Reads the "data" of a LIVE_DATA_ROWS event, a list of rows of numbers,
// into `rows`. Rows arrive many times a second, so the vectors `rows` and
// its rows hold from the previous event are refilled in place: events of a
// steady size allocate nothing (rows that a shorter event drops are made
// anew when a longer one follows).
//
// Reads what value_to<std::vector<std::vector<double>>> reads and fails as
// it does: boost::system::system_error for a list or row that is not an
// array, or a cell that is not a number. `rows` then holds a partial read.
void readLiveRows(const boost::json::value& data, std::vector<std::vector<double>>& rows);
