#pragma once

#include "marlek_link_json/events/event_type.hpp"
#include "marlek_link_json/events/log_severity.hpp"
#include "marlek_link_json/jobs/common/jobstatus.hpp"

#include <boost/json/fwd.hpp>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class JobInfo;
class LiveDataHeader;
class LiveDataHeaderEis;
class LiveDataRowEis;
class LiveDataWavesEis;

using JobStatusUpdateEventHandler = std::function<void(JobStatusEnum, const JobInfo&)>;
using JobLogMessageEventHandler = std::function<void(const std::string& job_id, LogSeverityEnum severity,
                                                     const std::string& date_time, const std::string& message)>;
using LogMessageEventHandler =
    std::function<void(LogSeverityEnum severity, const std::string& date_time, const std::string& message)>;

// Binds one event type to one raw callback that takes the event's JSON
// object (for JOB_DONE: the whole completion message). Immutable, so one
// handler may be registered with several sessions at once; sessions tell
// registrations apart by the handler's and the callback's identity.
class MarlekLinkEventHandler {
public:
    using RawCallback = std::function<void(const boost::json::object&)>;

    MarlekLinkEventHandler(EventTypeEnum type, std::shared_ptr<RawCallback>&& callback);

    std::shared_ptr<RawCallback> getRawCallback() const { return rawCallback; }
    EventTypeEnum getEventType() const { return eventType; }

    // Handlers that hand typed records to a user callback. An event that
    // lacks a key the callback needs, or holds it as another JSON kind, is
    // passed over without a word; content that does not read raises the
    // reader's exception to the dispatcher. Empty rows, impedance rows and
    // wave blocks are not delivered, and neither is anything to an empty
    // user callback. Each handler keeps its own copy of the user callback.
    static std::shared_ptr<MarlekLinkEventHandler>
    makeLiveDataHeaderEventHandler(const std::function<void(const LiveDataHeader&, const JobInfo&)>& callback);
    static std::shared_ptr<MarlekLinkEventHandler>
    makeLiveDataHeaderEisEventHandler(const std::function<void(const LiveDataHeaderEis&, const JobInfo&)>& callback);
    static std::shared_ptr<MarlekLinkEventHandler>
    makeLiveDataRowsEventHandler(const std::function<void(const std::vector<std::vector<double>>&)>& callback);
    static std::shared_ptr<MarlekLinkEventHandler>
    makeLiveDataRowEisEventHandler(const std::function<void(const LiveDataRowEis&)>& callback);
    static std::shared_ptr<MarlekLinkEventHandler>
    makeLiveDataWaveEventHandler(const std::function<void(const LiveDataWavesEis&)>& callback);
    static std::shared_ptr<MarlekLinkEventHandler>
    makeLiveDataFinishedEventHandler(const std::function<void(const JobInfo&)>& callback);
    // A status text that names no status is delivered as UNKNOWN.
    static std::shared_ptr<MarlekLinkEventHandler>
    makeJobStatusUpdateEventHandler(const JobStatusUpdateEventHandler& callback);
    // Given the whole completion message of every job, this client's or not.
    static std::shared_ptr<MarlekLinkEventHandler>
    makeJobDoneEventHandler(const std::function<void(const JobInfo&)>& callback);
    // A severity text that names no severity is delivered as DEBUG; the time
    // stamp is passed on as the text that arrived.
    static std::shared_ptr<MarlekLinkEventHandler>
    makeJobLogMessageEventHandler(const JobLogMessageEventHandler& callback);
    static std::shared_ptr<MarlekLinkEventHandler> makeLogMessageEventHandler(const LogMessageEventHandler& callback);

private:
    EventTypeEnum eventType;
    std::shared_ptr<RawCallback> rawCallback;
};
