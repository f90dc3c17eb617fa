#pragma once

#include "marlek_json_common/json_common/protocol/pathdataheader.hpp"

#include <boost/json/conversion.hpp>
#include <boost/json/fwd.hpp>

void tag_invoke(const boost::json::value_from_tag&, boost::json::value& target, const PathDataHeader& header);

PathDataHeader tag_invoke(const boost::json::value_to_tag<PathDataHeader>&, const boost::json::value& source);
