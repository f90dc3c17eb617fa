#pragma once

#include <boost/json/conversion.hpp>
#include <boost/json/fwd.hpp>

#include <complex>

// Boost.JSON finds conversions of standard types only in its own namespace
// (the only one besides std that argument-dependent look-up sees for them).
namespace boost::json {

// Strict: an object with "real" and "imag", both JSON doubles (an integer is
// refused); anything else throws boost::system::system_error.
std::complex<double> tag_invoke(const value_to_tag<std::complex<double>>&, const value& source);

} // namespace boost::json
