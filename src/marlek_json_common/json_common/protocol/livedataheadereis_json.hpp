#pragma once

#include "marlek_json_common/json_common/protocol/livedataheadereis.hpp"

#include <boost/json/conversion.hpp>
#include <boost/json/fwd.hpp>

void tag_invoke(const boost::json::value_from_tag&, boost::json::value& target, const LiveDataHeaderEis& header);

LiveDataHeaderEis tag_invoke(const boost::json::value_to_tag<LiveDataHeaderEis>&, const boost::json::value& source);
