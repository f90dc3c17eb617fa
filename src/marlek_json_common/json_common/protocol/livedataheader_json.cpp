#include "marlek_json_common/json_common/protocol/livedataheader_json.hpp"

#include "marlek_json_common/json_common/protocol/columnheader_json.hpp"

#include <boost/json.hpp>

void tag_invoke(const boost::json::value_from_tag&, boost::json::value& target, const LiveDataHeader& header)
{
    const auto& columns = header.getColumns();
    target = boost::json::object{
        {"measurement_type", header.getMeasurementType()},
        {"measurement_type_short", header.getShortMeasurementType()},
        {"columns",
         boost::json::object{
             {"dimensions", columnTexts(columns, &ColumnHeader::dimension)},
             {"units", columnTexts(columns, &ColumnHeader::unit)},
             {"urns", columnTexts(columns, &ColumnHeader::urn)},
         }},
    };
}

LiveDataHeader tag_invoke(const boost::json::value_to_tag<LiveDataHeader>&, const boost::json::value& source)
{
    const auto* object = source.if_object();
    if (object == nullptr) {
        return {};
    }
    const auto* type = object->if_contains("measurement_type");
    const auto* shortType = object->if_contains("measurement_type_short");
    const auto* columns = object->if_contains("columns");
    if (type == nullptr || !type->is_string() || shortType == nullptr || !shortType->is_string() || columns == nullptr
        || !columns->is_object()) {
        return {};
    }
    return LiveDataHeader(std::string(type->get_string()), std::string(shortType->get_string()),
                         boost::json::value_to<std::vector<ColumnHeader>>(*columns));
}
