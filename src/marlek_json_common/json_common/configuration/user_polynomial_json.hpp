#pragma once

#include "marlek_json_common/json_common/configuration/user_polynomial.hpp"

#include <boost/json/conversion.hpp>
#include <boost/json/fwd.hpp>

// A plain array of the coefficients as JSON doubles ([] for an empty list).
void tag_invoke(const boost::json::value_from_tag&, boost::json::value& target, const UserPolynomial& polynomial);

// An array of numbers; an empty array or anything that is not an array reads
// as the neutral polynomial. An element that is not a number throws
// boost::system::system_error.
UserPolynomial tag_invoke(const boost::json::value_to_tag<UserPolynomial>&, const boost::json::value& source);
