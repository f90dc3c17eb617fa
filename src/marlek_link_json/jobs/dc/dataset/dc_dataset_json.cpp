#include "marlek_link_json/jobs/dc/dataset/dc_dataset_json.hpp"

#include "marlek_json_common/json_common/protocol/livedataheader_json.hpp"
#include "marlek_json_common/json_common/text/base64.hpp"
#include "marlek_link_json/jobs/common/jobinfo_json.hpp"
#include "marlek_link_json/jobs/common/live_data/eventjsonhelpers.hpp"
#include "marlek_link_json/jobs/dc/dataset/dc_table_columns.hpp"

#include <boost/json.hpp>

#include <string>
#include <string_view>
#include <utility>

namespace {

JobInfo jobInfoOfFinishedEvent(const boost::json::value& event)
{
    const auto* jobInfo = findObjectInEvent(event, "LIVE_DATA_FINISHED", "/event/job_info");
    return jobInfo == nullptr ? JobInfo{} : jobInfoFromJson(*jobInfo);
}

} // namespace

namespace DcData {

LiveDataHeader extractHeader(const boost::json::value& event)
{
    const auto* header = findObjectInEvent(event, "LIVE_DATA_HEADER", "/event/header");
    return header == nullptr ? LiveDataHeader{} : boost::json::value_to<LiveDataHeader>(*header);
}

} // namespace DcData

DcDataset tag_invoke(const boost::json::value_to_tag<DcDataset>&, const boost::json::value& source)
{
    const auto* events = source.if_array();
    if (events == nullptr || events->size() < 2 || !events->front().is_object()) {
        return DcDataset();
    }
    JobInfo jobInfo = jobInfoOfFinishedEvent(events->back());

    if (events->size() != 3 || !(*events)[1].is_object()) {
        return DcDataset(DcData::extractHeader(events->front()), std::move(jobInfo));
    }
    const auto* data = findObjectInEvent((*events)[1], "LIVE_DATA_ROWS", "/event/data");
    if (data == nullptr || !data->is_string()) {
        return DcDataset();
    }
    LiveDataHeader header = DcData::extractHeader(events->front());
    // The rows are counted from the bytes the text really decodes to: a
    // padding character inside the text makes them fewer than the declared
    // size.
    std::string bytes;
    if (base64::decode(data->get_string(), base64::Policy::UncheckedGroups, bytes)) {
        return DcDataset();
    }
    std::vector<std::vector<double>> tracks = splitDcTableColumns(bytes, header.getColumns().size());
    return DcDataset(header, std::move(jobInfo), std::move(tracks));
}
