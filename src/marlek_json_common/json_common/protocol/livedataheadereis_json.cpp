#include "marlek_json_common/json_common/protocol/livedataheadereis_json.hpp"

#include "marlek_json_common/json_common/protocol/columnheader_json.hpp"
#include "marlek_json_common/json_common/protocol/impedancedataheader_json.hpp"
#include "marlek_json_common/json_common/protocol/pathdataheader_json.hpp"
#include "marlek_json_common/json_common/protocol/potentiostatdataheader_json.hpp"

#include <boost/json.hpp>

namespace {

bool hasMember(const boost::json::object& object, std::string_view key, boost::json::kind kind)
{
    const auto* member = object.if_contains(key);
    return member != nullptr && member->kind() == kind;
}

} // namespace

void tag_invoke(const boost::json::value_from_tag&, boost::json::value& target, const LiveDataHeaderEis& header)
{
    const auto& meta = header.getMetaColumns();
    target = boost::json::object{
        {"measurement_type", "Electrochemical Impedance Spectroscopy"},
        {"measurement_type_short", "EIS"},
        {"impedances", boost::json::value_from(header.getImpedances())},
        {"paths", boost::json::value_from(header.getPaths())},
        {"async_paths", boost::json::value_from(header.getAsyncPaths())},
        {"potentiostats", boost::json::value_from(header.getPotentiostats())},
        {"meta",
         boost::json::object{
             {"dimensions", columnTexts(meta, &ColumnHeader::dimension)},
             {"units", columnTexts(meta, &ColumnHeader::unit)},
         }},
    };
}

LiveDataHeaderEis tag_invoke(const boost::json::value_to_tag<LiveDataHeaderEis>&, const boost::json::value& source)
{
    using boost::json::kind;
    const auto* object = source.if_object();
    if (object == nullptr || !hasMember(*object, "measurement_type", kind::string)
        || !hasMember(*object, "measurement_type_short", kind::string) || !hasMember(*object, "meta", kind::object)
        || !hasMember(*object, "impedances", kind::array) || !hasMember(*object, "paths", kind::array)
        || !hasMember(*object, "async_paths", kind::array) || !hasMember(*object, "potentiostats", kind::array)) {
        return {};
    }
    // One statement each: which malformed list is reported must not depend
    // on the compiler's order of evaluating arguments.
    auto meta = boost::json::value_to<std::vector<ColumnHeader>>(object->at("meta"));
    auto impedances = boost::json::value_to<std::vector<ImpedanceDataHeader>>(object->at("impedances"));
    auto paths = boost::json::value_to<std::vector<PathDataHeader>>(object->at("paths"));
    auto asyncPaths = boost::json::value_to<std::vector<PathDataHeader>>(object->at("async_paths"));
    auto potentiostats = boost::json::value_to<std::vector<PotentiostatDataHeader>>(object->at("potentiostats"));
    return LiveDataHeaderEis(std::string(object->at("measurement_type").get_string()),
                             std::string(object->at("measurement_type_short").get_string()), std::move(meta),
                             std::move(impedances), std::move(paths), std::move(asyncPaths), std::move(potentiostats));
}
