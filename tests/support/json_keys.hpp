#pragma once

#include <boost/json/fwd.hpp>

#include <string>
#include <vector>

// The keys of an object in the order they were written or arrived: the order
// is part of what the workstation reads.
std::vector<std::string> keysOf(const boost::json::object& object);

// The same for a value that must hold an object.
std::vector<std::string> keysOf(const boost::json::value& value);
