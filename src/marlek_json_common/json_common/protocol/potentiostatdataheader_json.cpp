#include "marlek_json_common/json_common/protocol/potentiostatdataheader_json.hpp"

#include "marlek_json_common/json_common/configuration/user_polynomial_json.hpp"
#include "marlek_json_common/json_common/protocol/columnheader_json.hpp"
#include "marlek_json_common/json_common/protocol/json_members.hpp"

#include <boost/json.hpp>

void tag_invoke(const boost::json::value_from_tag&, boost::json::value& target, const PotentiostatDataHeader& header)
{
    target = boost::json::object{
        {"dimensions", columnTexts(header.columns, &ColumnHeader::dimension)},
        {"polynomial", boost::json::value_from(header.polynomial)},
        {"units", columnTexts(header.columns, &ColumnHeader::unit)},
        {"uri", header.uri},
    };
}

PotentiostatDataHeader tag_invoke(const boost::json::value_to_tag<PotentiostatDataHeader>&,
                                  const boost::json::value& source)
{
    const auto* object = source.if_object();
    if (object == nullptr) {
        return {};
    }
    PotentiostatDataHeader header;
    header.uri = jsonmembers::stringOrEmpty(*object, "uri");
    // Either key carries the polynomial; "polynomial" wins when both are there.
    const auto* polynomial = object->if_contains("polynomial");
    if (polynomial == nullptr) {
        polynomial = object->if_contains("potentiostatic_polynomial");
    }
    if (polynomial != nullptr) {
        header.polynomial = boost::json::value_to<UserPolynomial>(*polynomial);
    }
    header.columns = boost::json::value_to<std::vector<ColumnHeader>>(source);
    return header;
}
