#include "marlek_link_json/events/marleklinkeventhandler.hpp"

#include "marlek_json_common/json_common/protocol/livedataheader_json.hpp"
#include "marlek_json_common/json_common/protocol/livedataheadereis_json.hpp"
#include "marlek_link_json/jobs/ac/live_data/livedataroweis_json.hpp"
#include "marlek_link_json/jobs/ac/live_data/livedatawaveseis_json.hpp"
#include "marlek_link_json/jobs/common/live_data/liverows_json.hpp"
#include "marlek_link_json/jobs/common/jobinfo_json.hpp"

#include <boost/describe/enum_from_string.hpp>
#include <boost/json.hpp>

#include <utility>

namespace {

using Handler = std::shared_ptr<MarlekLinkEventHandler>;
using RawCallback = MarlekLinkEventHandler::RawCallback;

// Each factory checks for an empty user callback on delivery, so that one
// empty handler costs nothing but its own events, instead of raising
// std::bad_function_call on the connection's worker thread.
template <typename UserCallback, typename Deliver>
Handler makeHandler(EventTypeEnum type, const UserCallback& callback, Deliver deliver)
{
    auto raw = std::make_shared<RawCallback>(
        [callback, deliver = std::move(deliver)](const boost::json::object& event) {
            if (callback) {
                deliver(callback, event);
            }
        });
    return std::make_shared<MarlekLinkEventHandler>(type, std::move(raw));
}

const boost::json::object* objectAt(const boost::json::object& event, std::string_view key)
{
    const auto* value = event.if_contains(key);
    return value ? value->if_object() : nullptr;
}

const boost::json::string* stringAt(const boost::json::object& event, std::string_view key)
{
    const auto* value = event.if_contains(key);
    return value ? value->if_string() : nullptr;
}

std::string text(const boost::json::string& value)
{
    return std::string(value.data(), value.size());
}

// DEBUG for a text that names no severity: the message itself still counts.
// The whole text is compared, so that a NUL inside it cannot make a match.
LogSeverityEnum severityOf(const boost::json::string& name)
{
    LogSeverityEnum severity = LogSeverityEnum::DEBUG;
    boost::describe::enum_from_string(std::string_view(name), severity);
    return severity;
}

// UNKNOWN for a text that names no status.
JobStatusEnum statusOf(const boost::json::string& name)
{
    JobStatusEnum status = JobStatusEnum::UNKNOWN;
    parseJobStatus(std::string_view(name), status);
    return status;
}

template <typename Header, typename Callback>
Handler makeHeaderHandler(EventTypeEnum type, const Callback& callback)
{
    return makeHandler(type, callback, [](const Callback& deliver, const boost::json::object& event) {
        const auto* header = objectAt(event, "header");
        const auto* jobInfo = objectAt(event, "job_info");
        if (!header || !jobInfo) {
            return;
        }
        const auto record = boost::json::value_to<Header>(boost::json::value(*header));
        deliver(record, jobInfoFromJson(*jobInfo));
    });
}

// The job information under "job_info", for the finished and done events.
template <typename Callback>
Handler makeJobInfoHandler(EventTypeEnum type, const Callback& callback)
{
    return makeHandler(type, callback, [](const Callback& deliver, const boost::json::object& event) {
        if (const auto* jobInfo = objectAt(event, "job_info")) {
            deliver(jobInfoFromJson(*jobInfo));
        }
    });
}

// The rows storage of the deliveries on this thread, refilled event after
// event. A delivery takes it out while it runs: the same handler may run on
// the threads of several sessions at once, and a callback may dispatch
// another session's rows on its own thread, which then starts afresh.
thread_local std::vector<std::vector<double>> spareRows;

} // namespace

Handler MarlekLinkEventHandler::makeLiveDataHeaderEventHandler(
    const std::function<void(const LiveDataHeader&, const JobInfo&)>& callback)
{
    return makeHeaderHandler<LiveDataHeader>(EventTypeEnum::LIVE_DATA_HEADER, callback);
}

Handler MarlekLinkEventHandler::makeLiveDataHeaderEisEventHandler(
    const std::function<void(const LiveDataHeaderEis&, const JobInfo&)>& callback)
{
    return makeHeaderHandler<LiveDataHeaderEis>(EventTypeEnum::LIVE_DATA_HEADER_EIS, callback);
}

Handler MarlekLinkEventHandler::makeLiveDataRowsEventHandler(
    const std::function<void(const std::vector<std::vector<double>>&)>& callback)
{
    using Callback = std::function<void(const std::vector<std::vector<double>>&)>;
    return makeHandler(EventTypeEnum::LIVE_DATA_ROWS, callback,
                       [](const Callback& deliver, const boost::json::object& event) {
                           const auto* data = event.if_contains("data");
                           if (!data || !data->is_array()) {
                               return;
                           }
                           auto rows = std::move(spareRows);
                           readLiveRows(*data, rows);
                           if (!rows.empty()) {
                               deliver(rows);
                           }
                           spareRows = std::move(rows);
                       });
}

Handler MarlekLinkEventHandler::makeLiveDataRowEisEventHandler(
    const std::function<void(const LiveDataRowEis&)>& callback)
{
    using Callback = std::function<void(const LiveDataRowEis&)>;
    return makeHandler(EventTypeEnum::LIVE_DATA_ROW_EIS, callback,
                       [](const Callback& deliver, const boost::json::object& event) {
                           const auto row = liveDataRowEisFromEvent(event);
                           if (!row.getMeta().empty()) {
                               deliver(row);
                           }
                       });
}

Handler MarlekLinkEventHandler::makeLiveDataWaveEventHandler(
    const std::function<void(const LiveDataWavesEis&)>& callback)
{
    using Callback = std::function<void(const LiveDataWavesEis&)>;
    return makeHandler(EventTypeEnum::LIVE_DATA_WAVES, callback,
                       [](const Callback& deliver, const boost::json::object& event) {
                           const auto waves = liveDataWavesEisFromEvent(event);
                           if (!waves.getWaves().empty()) {
                               deliver(waves);
                           }
                       });
}

Handler MarlekLinkEventHandler::makeLiveDataFinishedEventHandler(const std::function<void(const JobInfo&)>& callback)
{
    return makeJobInfoHandler(EventTypeEnum::LIVE_DATA_FINISHED, callback);
}

Handler MarlekLinkEventHandler::makeJobStatusUpdateEventHandler(const JobStatusUpdateEventHandler& callback)
{
    return makeHandler(EventTypeEnum::JOB_STATUS_UPDATE, callback,
                       [](const JobStatusUpdateEventHandler& deliver, const boost::json::object& event) {
                           const auto* newStatus = stringAt(event, "new_status");
                           const auto* jobInfo = objectAt(event, "job_info");
                           if (!newStatus || !jobInfo) {
                               return;
                           }
                           const JobStatusEnum status = statusOf(*newStatus);
                           deliver(status, jobInfoFromJson(*jobInfo));
                       });
}

Handler MarlekLinkEventHandler::makeJobDoneEventHandler(const std::function<void(const JobInfo&)>& callback)
{
    return makeJobInfoHandler(EventTypeEnum::JOB_DONE, callback);
}

Handler MarlekLinkEventHandler::makeJobLogMessageEventHandler(const JobLogMessageEventHandler& callback)
{
    return makeHandler(EventTypeEnum::MESSAGE_FROM_JOB, callback,
                       [](const JobLogMessageEventHandler& deliver, const boost::json::object& event) {
                           const auto* message = objectAt(event, "message");
                           if (!message) {
                               return;
                           }
                           const auto* severity = stringAt(*message, "severity");
                           const auto* body = stringAt(*message, "message");
                           const auto* jobId = stringAt(*message, "job_id");
                           const auto* dateTime = stringAt(*message, "date_time");
                           if (!severity || !body || !jobId || !dateTime) {
                               return;
                           }
                           deliver(text(*jobId), severityOf(*severity), text(*dateTime), text(*body));
                       });
}

Handler MarlekLinkEventHandler::makeLogMessageEventHandler(const LogMessageEventHandler& callback)
{
    return makeHandler(EventTypeEnum::MESSAGE_FROM_SERVER, callback,
                       [](const LogMessageEventHandler& deliver, const boost::json::object& event) {
                           const auto* message = objectAt(event, "message");
                           if (!message) {
                               return;
                           }
                           const auto* severity = stringAt(*message, "severity");
                           const auto* body = stringAt(*message, "message");
                           const auto* dateTime = stringAt(*message, "date_time");
                           if (!severity || !body || !dateTime) {
                               return;
                           }
                           deliver(severityOf(*severity), text(*dateTime), text(*body));
                       });
}
