#pragma once

#include "marlek_link_json/jobs/control/potentiostat_state/potentiostat_state.hpp"

#include <boost/json/conversion.hpp>
#include <boost/json/fwd.hpp>

// All twelve keys required, the coupling by its exact name; the first
// failure in field order raises boost::system::system_error.
PotentiostatState tag_invoke(const boost::json::value_to_tag<PotentiostatState>&, const boost::json::value& source);
