#pragma once

#include "marlek_json_common/json_common/configuration/impedance_configuration.hpp"

#include <boost/json/conversion.hpp>
#include <boost/json/fwd.hpp>

// {"numerator", "denominator", "impedance_name"} in this order.
void tag_invoke(const boost::json::value_from_tag&, boost::json::value& target,
                const ImpedanceConfiguration& configuration);

// Tolerant: a member that is missing or not a string reads as empty.
ImpedanceConfiguration tag_invoke(const boost::json::value_to_tag<ImpedanceConfiguration>&,
                                  const boost::json::value& source);
