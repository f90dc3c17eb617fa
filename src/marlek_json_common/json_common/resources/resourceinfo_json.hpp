#pragma once

#include "marlek_json_common/json_common/resources/resourceinfo.hpp"

#include <boost/json/conversion.hpp>
#include <boost/json/fwd.hpp>

// The ten members in field order; "header" is JSON null without a header.
void tag_invoke(const boost::json::value_from_tag&, boost::json::value& target, const ResourceInfo& info);

// Tolerant of missing or ill-typed members, except that a numeric "size"
// which is not an exact non-negative integer throws
// boost::system::system_error.
ResourceInfo tag_invoke(const boost::json::value_to_tag<ResourceInfo>&, const boost::json::value& source);
