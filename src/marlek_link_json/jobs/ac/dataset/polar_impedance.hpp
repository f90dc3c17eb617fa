#pragma once

#include <complex>

// The complex impedance of a magnitude and a phase in radians, with the
// standard library's rules for the values where std::polar is undefined: a
// NaN or negative magnitude gives (NaN, NaN); a NaN or infinite phase gives
// (+inf, NaN) for an infinite magnitude and (NaN, NaN) otherwise; a part that
// comes out NaN otherwise (an infinite magnitude at a zero angle) is 0.
std::complex<double> polarImpedance(double magnitude, double phase);
