#include "marlek_json_common/json_common/protocol/columnheader_json.hpp"

#include <boost/json.hpp>

#include <algorithm>

namespace {

const boost::json::array* arrayMember(const boost::json::object& object, std::string_view key)
{
    const auto* member = object.if_contains(key);
    return member != nullptr ? member->if_array() : nullptr;
}

} // namespace

std::vector<ColumnHeader> tag_invoke(const boost::json::value_to_tag<std::vector<ColumnHeader>>&,
                                     const boost::json::value& source)
{
    const auto* object = source.if_object();
    if (object == nullptr) {
        return {};
    }
    const auto* dimensions = arrayMember(*object, "dimensions");
    const auto* units = arrayMember(*object, "units");
    if (dimensions == nullptr || units == nullptr) {
        return {};
    }
    const auto* urns = arrayMember(*object, "urns");
    auto count = std::min(dimensions->size(), units->size());
    if (urns != nullptr) {
        count = std::min(count, urns->size());
    }
    std::vector<ColumnHeader> columns;
    columns.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        auto dimension = boost::json::value_to<std::string>((*dimensions)[i]);
        auto unit = boost::json::value_to<std::string>((*units)[i]);
        auto urn = urns != nullptr ? boost::json::value_to<std::string>((*urns)[i]) : std::string();
        columns.emplace_back(std::move(dimension), std::move(unit), std::move(urn));
    }
    return columns;
}

boost::json::array columnTexts(const std::vector<ColumnHeader>& columns, std::string ColumnHeader::*field)
{
    boost::json::array texts;
    texts.reserve(columns.size());
    for (const auto& column : columns) {
        texts.emplace_back(column.*field);
    }
    return texts;
}
