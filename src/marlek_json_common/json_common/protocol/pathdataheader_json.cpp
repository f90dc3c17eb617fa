#include "marlek_json_common/json_common/protocol/pathdataheader_json.hpp"

#include "marlek_json_common/json_common/configuration/user_polynomial_json.hpp"
#include "marlek_json_common/json_common/protocol/columnheader_json.hpp"
#include "marlek_json_common/json_common/protocol/json_members.hpp"

#include <boost/json.hpp>

void tag_invoke(const boost::json::value_from_tag&, boost::json::value& target, const PathDataHeader& header)
{
    const auto& columns = header.getColumns();
    target = boost::json::object{
        {"name", header.getName()},
        {"dimensions", columnTexts(columns, &ColumnHeader::dimension)},
        {"polynomial", boost::json::value_from(header.getPolynomial())},
        {"units", columnTexts(columns, &ColumnHeader::unit)},
        {"uri", header.getUri()},
    };
}

PathDataHeader tag_invoke(const boost::json::value_to_tag<PathDataHeader>&, const boost::json::value& source)
{
    const auto* object = source.if_object();
    if (object == nullptr) {
        return {};
    }
    const auto* name = object->if_contains("name");
    const auto* polynomial = object->if_contains("polynomial");
    auto columns = boost::json::value_to<std::vector<ColumnHeader>>(source);
    auto coefficients = polynomial != nullptr ? boost::json::value_to<UserPolynomial>(*polynomial) : UserPolynomial();
    return PathDataHeader(jsonmembers::stringOrEmpty(*object, "uri"),
                          name != nullptr && name->is_string() ? std::string(name->get_string()) : "unnamed",
                          std::move(columns), std::move(coefficients));
}
