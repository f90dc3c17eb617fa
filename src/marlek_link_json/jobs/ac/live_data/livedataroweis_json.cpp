#include "marlek_link_json/jobs/ac/live_data/livedataroweis_json.hpp"

#include <boost/json.hpp>

#include <array>
#include <string_view>

namespace {

using Lists = std::vector<std::vector<double>>;

constexpr std::array<std::string_view, 6> rowKeys{"impedances", "paths", "paths_waves", "async_paths",
                                                  "potentiostats", "meta"};

} // namespace

LiveDataRowEis tag_invoke(const boost::json::value_to_tag<LiveDataRowEis>&, const boost::json::value& source)
{
    const auto* object = source.if_object();
    return object == nullptr ? LiveDataRowEis() : liveDataRowEisFromEvent(*object);
}

LiveDataRowEis liveDataRowEisFromEvent(const boost::json::object& event)
{
    for (const auto key : rowKeys) {
        const auto* member = event.if_contains(key);
        if (member == nullptr || !member->is_array()) {
            return {};
        }
    }
    auto lists = [&](std::string_view key) { return boost::json::value_to<Lists>(event.at(key)); };
    // Named steps keep the conversion order fixed, so the first bad element
    // in key order is the one reported.
    Lists impedances = lists("impedances");
    Lists paths = lists("paths");
    Lists pathsWaves = lists("paths_waves");
    Lists asyncPaths = lists("async_paths");
    Lists potentiostats = lists("potentiostats");
    auto meta = boost::json::value_to<std::vector<double>>(event.at("meta"));
    return LiveDataRowEis(std::move(impedances), std::move(paths), std::move(pathsWaves), std::move(asyncPaths),
                          std::move(potentiostats), std::move(meta));
}
