#pragma once

#include <boost/json/conversion.hpp>
#include <boost/json/fwd.hpp>

#include <complex>
#include <map>

// Frequency to complex value, ordered by frequency (calibration spectra).
using SpectrumMap = std::map<double, std::complex<double>>;

// Boost.JSON finds conversions of standard types only in its own namespace.
namespace boost::json {

// One member per entry in ascending frequency order, keyed by the frequency
// as "{:.15e}" text, valued {"real", "imag"} as JSON doubles.
void tag_invoke(const value_from_tag&, value& target, const SpectrumMap& spectrum);

// Strict: the value must be an object, every key a number text and every
// value a complex object; a later key naming the same frequency replaces the
// earlier entry. Throws boost::system::system_error, std::invalid_argument or
// std::out_of_range; no partial map is returned.
SpectrumMap tag_invoke(const value_to_tag<SpectrumMap>&, const value& source);

} // namespace boost::json
