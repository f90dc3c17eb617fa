#pragma once

#include "marlek_json_common/json_common/protocol/potentiostatdataheader.hpp"

#include <boost/json/conversion.hpp>
#include <boost/json/fwd.hpp>

void tag_invoke(const boost::json::value_from_tag&, boost::json::value& target, const PotentiostatDataHeader& header);

PotentiostatDataHeader tag_invoke(const boost::json::value_to_tag<PotentiostatDataHeader>&, const boost::json::value& source);
