#include "marlek_json_common/json_common/configuration/user_polynomial.hpp"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// A total order on coefficients: numbers as usual, NaN after every number and
// equal to any other NaN. The built-in less-than makes NaN incomparable with
// everything, which breaks the strict weak order sorted containers rely on.
bool coefficientLess(double a, double b)
{
    const bool aIsNan = std::isnan(a);
    const bool bIsNan = std::isnan(b);
    if (aIsNan || bIsNan) {
        return !aIsNan;
    }
    return a < b;
}

} // namespace

UserPolynomial::UserPolynomial(std::vector<double> values)
{
    if (!values.empty()) {
        coefficients = std::move(values);
    }
}

bool UserPolynomial::operator<(const UserPolynomial& other) const
{
    return std::lexicographical_compare(coefficients.begin(), coefficients.end(), other.coefficients.begin(),
                                        other.coefficients.end(), coefficientLess);
}
