#include "marlek_json_common/json_common/configuration/user_polynomial.hpp"

#include <algorithm>
#include <utility>

UserPolynomial::UserPolynomial(std::vector<double> values)
{
    if (!values.empty()) {
        coefficients = std::move(values);
    }
}

bool UserPolynomial::operator<(const UserPolynomial& other) const
{
    return std::lexicographical_compare(coefficients.begin(), coefficients.end(),
                                        other.coefficients.begin(), other.coefficients.end());
}
