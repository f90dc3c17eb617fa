#include "marlek_json_common/json_common/configuration/impedance_configuration_json.hpp"

#include "marlek_json_common/json_common/protocol/json_members.hpp"

#include <boost/json.hpp>

void tag_invoke(const boost::json::value_from_tag&, boost::json::value& target,
                const ImpedanceConfiguration& configuration)
{
    target = boost::json::object{
        {"numerator", configuration.numerator},
        {"denominator", configuration.denominator},
        {"impedance_name", configuration.impedance_name},
    };
}

ImpedanceConfiguration tag_invoke(const boost::json::value_to_tag<ImpedanceConfiguration>&,
                                  const boost::json::value& source)
{
    const auto* object = source.if_object();
    if (object == nullptr) {
        return {};
    }
    return ImpedanceConfiguration{
        jsonmembers::stringOrEmpty(*object, "numerator"),
        jsonmembers::stringOrEmpty(*object, "denominator"),
        jsonmembers::stringOrEmpty(*object, "impedance_name"),
    };
}
