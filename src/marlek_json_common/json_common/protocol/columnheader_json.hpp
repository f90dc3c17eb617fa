#pragma once

#include "marlek_json_common/json_common/protocol/columnheader.hpp"

#include <boost/json/conversion.hpp>
#include <boost/json/fwd.hpp>

#include <vector>

// Reads a column list from the parallel arrays "dimensions", "units" and,
// when present, "urns" of an object; the shortest array decides the number
// of columns. Without both "dimensions" and "units" as arrays the list is
// empty. An element that is not a string throws boost::system::system_error.
std::vector<ColumnHeader> tag_invoke(const boost::json::value_to_tag<std::vector<ColumnHeader>>&,
                                     const boost::json::value& source);

// One of the parallel arrays that the owning record writes inline, for
// example columnTexts(columns, &ColumnHeader::unit) for "units".
boost::json::array columnTexts(const std::vector<ColumnHeader>& columns, std::string ColumnHeader::*field);
