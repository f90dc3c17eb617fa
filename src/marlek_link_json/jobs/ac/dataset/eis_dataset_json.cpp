#include "marlek_link_json/jobs/ac/dataset/eis_dataset_json.hpp"

#include "marlek_json_common/json_common/protocol/livedataheadereis_json.hpp"
#include "marlek_link_json/jobs/ac/dataset/eis_column_groups.hpp"
#include "marlek_link_json/jobs/ac/dataset/eis_dataset_rows.hpp"
#include "marlek_link_json/jobs/common/jobinfo_json.hpp"
#include "marlek_link_json/jobs/dataset/track_names.hpp"

#include <boost/json.hpp>

#include <cstddef>
#include <map>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace {

using Groups = EisColumnGroups;

// The value at `pointer` inside an event message of the given event type;
// null when the message is another kind or the pointer does not resolve.
const boost::json::value* findInEvent(const boost::json::value& message, std::string_view eventType,
                                      std::string_view pointer)
{
    boost::system::error_code ignored;
    const auto* type = message.find_pointer("/type", ignored);
    const auto* innerType = message.find_pointer("/event/type", ignored);
    if (type == nullptr || !type->is_string() || type->get_string() != "EVENT" || innerType == nullptr
        || !innerType->is_string() || innerType->get_string() != eventType) {
        return nullptr;
    }
    return message.find_pointer(pointer, ignored);
}

// One impedance row as the workstation sends it; every list empty when the
// event does not carry all six arrays of numbers.
struct RowValues {
    std::vector<std::vector<double>> impedances;
    std::vector<std::vector<double>> paths;
    std::vector<std::vector<double>> pathsWaves;
    std::vector<std::vector<double>> asyncPaths;
    std::vector<std::vector<double>> potentiostats;
    std::vector<double> meta;
};

std::optional<std::vector<double>> numbersOf(const boost::json::value* value)
{
    if (value == nullptr || !value->is_array()) {
        return std::nullopt;
    }
    std::vector<double> numbers;
    numbers.reserve(value->get_array().size());
    for (const auto& item : value->get_array()) {
        if (item.is_double()) {
            numbers.push_back(item.get_double());
        } else if (item.is_int64()) {
            numbers.push_back(static_cast<double>(item.get_int64()));
        } else if (item.is_uint64()) {
            numbers.push_back(static_cast<double>(item.get_uint64()));
        } else {
            return std::nullopt;
        }
    }
    return numbers;
}

std::optional<std::vector<std::vector<double>>> listsOf(const boost::json::value* value)
{
    if (value == nullptr || !value->is_array()) {
        return std::nullopt;
    }
    std::vector<std::vector<double>> lists;
    lists.reserve(value->get_array().size());
    for (const auto& item : value->get_array()) {
        auto numbers = numbersOf(&item);
        if (!numbers) {
            return std::nullopt;
        }
        lists.push_back(std::move(*numbers));
    }
    return lists;
}

RowValues rowOf(const boost::json::value& event)
{
    const auto* object = event.if_object();
    if (object == nullptr) {
        return {};
    }
    auto impedances = listsOf(object->if_contains("impedances"));
    auto paths = listsOf(object->if_contains("paths"));
    auto pathsWaves = listsOf(object->if_contains("paths_waves"));
    auto asyncPaths = listsOf(object->if_contains("async_paths"));
    auto potentiostats = listsOf(object->if_contains("potentiostats"));
    auto meta = numbersOf(object->if_contains("meta"));
    if (!impedances || !paths || !pathsWaves || !asyncPaths || !potentiostats || !meta) {
        return {};
    }
    return RowValues{std::move(*impedances), std::move(*paths),         std::move(*pathsWaves),
                     std::move(*asyncPaths), std::move(*potentiostats), std::move(*meta)};
}

// Appends the rows of events[first, last) to a dataset shaped by `header`.
EisDataset rebuild(const boost::json::array& events, std::size_t first, std::size_t last, LiveDataHeaderEis&& header,
                   JobInfo&& jobInfo)
{
    std::vector<std::vector<double>> meta(header.getMetaColumns().size());
    Groups impedances = emptyColumnGroups(header.getImpedances());
    Groups paths = emptyColumnGroups(header.getPaths());
    Groups asyncPaths = emptyColumnGroups(header.getAsyncPaths());
    Groups potentiostats = emptyColumnGroups(header.getPotentiostats());
    Groups pathWaves(header.getPaths().size());
    const long long waveIdColumn = EisDataset::indexOfDimension(header.getMetaColumns(), TrackNames::WAVE_ID);
    std::map<long long, long long> waveIndexByWaveId;

    for (std::size_t i = first; i < last; ++i) {
        const auto* event = findInEvent(events[i], "LIVE_DATA_ROW_EIS", "/event");
        if (event == nullptr) {
            continue;
        }
        const RowValues row = rowOf(*event);
        appendArrayOfArrays(impedances, row.impedances);
        appendArrayOfArrays(paths, row.paths);
        const long long waveIndex = dedupWaves(pathWaves, row.pathsWaves, waveIdColumn, row.meta, waveIndexByWaveId);
        appendArrayOfArrays(asyncPaths, row.asyncPaths);
        appendArrayOfArrays(potentiostats, row.potentiostats);
        appendMetaWithWaveId(meta, row.meta, waveIdColumn, waveIndex);
    }
    return EisDataset(std::move(header), std::move(impedances), std::move(paths), std::move(pathWaves),
                      std::move(asyncPaths), std::move(potentiostats), std::move(meta), std::move(jobInfo));
}

} // namespace

namespace EisData {

LiveDataHeaderEis extractHeader(const boost::json::value& message)
{
    const auto* header = findInEvent(message, "LIVE_DATA_HEADER_EIS", "/event/header");
    return header == nullptr ? LiveDataHeaderEis{} : boost::json::value_to<LiveDataHeaderEis>(*header);
}

} // namespace EisData

EisDataset tag_invoke(const boost::json::value_to_tag<EisDataset>&, const boost::json::value& source)
{
    const auto* events = source.if_array();
    if (events == nullptr || events->size() < 2 || !events->front().is_object()) {
        return EisDataset();
    }
    LiveDataHeaderEis header = EisData::extractHeader(events->front());
    const auto* jobInfo = findInEvent(events->back(), "LIVE_DATA_FINISHED", "/event/job_info");
    return rebuild(*events, 1, events->size() - 1, std::move(header),
                   jobInfo == nullptr ? JobInfo{} : jobInfoFromJson(*jobInfo));
}

EisDataset eisDatasetFromJsonArray(const boost::json::array& events, LiveDataHeaderEis&& header, JobInfo&& jobInfo)
{
    return rebuild(events, 0, events.size(), std::move(header), std::move(jobInfo));
}
