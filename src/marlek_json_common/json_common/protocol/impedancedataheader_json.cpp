#include "marlek_json_common/json_common/protocol/impedancedataheader_json.hpp"

#include "marlek_json_common/json_common/protocol/columnheader_json.hpp"
#include "marlek_json_common/json_common/protocol/json_members.hpp"

#include <boost/json.hpp>

void tag_invoke(const boost::json::value_from_tag&, boost::json::value& target, const ImpedanceDataHeader& header)
{
    const auto& columns = header.getColumns();
    target = boost::json::object{
        {"paths",
         boost::json::object{
             {"numerator", header.getNumeratorPath()},
             {"denominator", header.getDenominatorPath()},
         }},
        {"impedance_name", header.getImpedanceName()},
        {"dimensions", columnTexts(columns, &ColumnHeader::dimension)},
        {"units", columnTexts(columns, &ColumnHeader::unit)},
    };
}

ImpedanceDataHeader tag_invoke(const boost::json::value_to_tag<ImpedanceDataHeader>&, const boost::json::value& source)
{
    const auto* object = source.if_object();
    if (object == nullptr) {
        return {};
    }
    std::string numerator;
    std::string denominator;
    if (const auto* paths = object->if_contains("paths"); paths != nullptr && paths->is_object()) {
        const auto* n = paths->get_object().if_contains("numerator");
        const auto* d = paths->get_object().if_contains("denominator");
        if (n != nullptr && n->is_string() && d != nullptr && d->is_string()) {
            numerator = n->get_string();
            denominator = d->get_string();
        }
    }
    return ImpedanceDataHeader(std::move(numerator), std::move(denominator),
                               boost::json::value_to<std::vector<ColumnHeader>>(source),
                               jsonmembers::stringOrEmpty(*object, "impedance_name"));
}
