#include "marlek_link_json/jobs/ac/dataset/polar_impedance.hpp"

#include <cmath>
#include <limits>

std::complex<double> polarImpedance(double magnitude, double phase)
{
    constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
    if (std::isnan(magnitude) || std::signbit(magnitude)) {
        return {NaN, NaN};
    }
    if (!std::isfinite(phase)) {
        return {std::isinf(magnitude) ? std::numeric_limits<double>::infinity() : NaN, NaN};
    }
    double real = magnitude * std::cos(phase);
    double imaginary = magnitude * std::sin(phase);
    return {std::isnan(real) ? 0.0 : real, std::isnan(imaginary) ? 0.0 : imaginary};
}
