#include "marlek_json_common/json_common/configuration/user_polynomial_json.hpp"

#include <boost/json.hpp>

void tag_invoke(const boost::json::value_from_tag&, boost::json::value& target, const UserPolynomial& polynomial)
{
    boost::json::array coefficients;
    coefficients.reserve(polynomial.coefficients.size());
    for (const double coefficient : polynomial.coefficients) {
        coefficients.emplace_back(coefficient);
    }
    target = std::move(coefficients);
}

UserPolynomial tag_invoke(const boost::json::value_to_tag<UserPolynomial>&, const boost::json::value& source)
{
    if (!source.is_array()) {
        return {};
    }
    return UserPolynomial(boost::json::value_to<std::vector<double>>(source));
}
