#pragma once

#include "marlek_link_json/workstation_status.hpp"

#include <boost/json/conversion.hpp>
#include <boost/json/fwd.hpp>

// Strict: an object holding every member with a value of its kind, else
// boost::system::system_error with the first failing member's code.
WorkstationStatus tag_invoke(const boost::json::value_to_tag<WorkstationStatus>&, const boost::json::value& source);
