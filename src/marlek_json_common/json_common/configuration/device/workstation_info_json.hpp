#pragma once

#include "marlek_json_common/json_common/configuration/device/workstation_info.hpp"

#include <boost/json/conversion.hpp>
#include <boost/json/fwd.hpp>

// The nine members in field order; "mode" as its name, or as a JSON integer
// for a value that has none.
void tag_invoke(const boost::json::value_from_tag&, boost::json::value& target, const WorkstationInfo& info);

// Never fails: every missing or malformed member takes its default.
WorkstationInfo tag_invoke(const boost::json::value_to_tag<WorkstationInfo>&, const boost::json::value& source);
