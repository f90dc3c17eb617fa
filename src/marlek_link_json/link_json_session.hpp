#pragma once

#include "marlek_json_common/json_common/configuration/device/workstation_info.hpp"
#include "marlek_json_common/json_common/jobs/joboptions.hpp"
#include "marlek_json_common/json_common/logging/error_object.hpp"
#include "marlek_json_common/json_common/resources/resource_types.hpp"
#include "marlek_link_json/events/event_type.hpp"
#include "marlek_link_json/jobs/common/jobinfo.hpp"
#include "marlek_link_json/jobs/control/settings/settings_set.hpp"
#include "marlek_link_json/link_ll_session_factory.hpp"
#include "marlek_link_json/link_ll_session_status.hpp"
#include "marlek_link_json/once_promise.hpp"
#include "marlek_link_json/queue_stop_mode.hpp"
#include "marlek_link_json/resource.hpp"
#include "marlek_link_json/session_timeouts.hpp"
#include "marlek_link_json/tls_configuration.hpp"
#include "marlek_link_json/tls_verification_result.hpp"
#include "marlek_link_json/websocket_connection_info.hpp"
#include "marlek_link_json/workstation_status.hpp"

#include <boost/asio/executor_work_guard.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/json/array.hpp>
#include <boost/json/object.hpp>
#include <boost/json/string.hpp>
#include <boost/uuid/random_generator.hpp>

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <expected>
#include <filesystem>
#include <functional>
#include <future>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <stop_token>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

class AbstractMeasurementJob;
class DataSet;
class MarlekLinkEventHandler;

// The JSON session of one connection to the workstation: correlates requests
// with replies, dispatches incoming messages, tracks pending jobs, downloads
// and time-outs, and fails everything pending when the connection drops or
// the caller cancels. One object serves one connection.
//
// In a child made by fork, a session made before the fork has no threads
// any more and its locks may be held by threads that stayed behind: every
// operation then answers CONNECTION_NOT_ESTABLISHED at once (a job fails,
// a request callback gets that failed reply), connecting is refused,
// disconnecting does nothing, and destruction keeps what the parent's
// threads used instead of joining or locking anything.
//
// Threads: callers' threads (every public operation), the connect thread
// (owned and joined here), the low-level session's worker thread (incoming
// messages and status changes) and the watchdog thread, which runs the
// session's own I/O context with the time-outs while connected.
//
// Request, job, operation and download callbacks are called, and every
// callable the session holds is let go of, outside the session's locks:
// they and their destructors may call the session again. Event callbacks run
// under the handler lock; they may register and remove event callbacks:
// that takes effect once the current message has reached all of its
// callbacks. Nothing that waits for the workstation's
// answer can run on the session's own threads (the answer would have to
// arrive on them): such calls fail there at once (see answerCannotArrive).
class LinkJsonSession {
public:
    enum class CancellationReason : std::uint32_t {
        CONNECTION_CLOSED = 0,
        CANCELLED_BY_USER = 1,
    };

    using StatusCallback = std::function<void(MarlekLinkConnectionStatusEnum)>;
    using ReplyCallback = std::function<void(const boost::json::object&)>;
    using EventCallback = std::function<void(const boost::json::object&)>;
    using PendingOperation = std::function<void(CancellationReason)>;
    using DownloadCallback = std::function<void(std::string&&, std::optional<ErrorObject>)>;

    struct PendingJob {
        ReplyCallback callback;
        AbstractMeasurementJob* job = nullptr; // never owned
    };

    // A running time-out, so that it can be cancelled once it is no longer
    // needed.
    using PendingTimeout = SessionTimeouts::Pending;

    static const boost::json::string JOB_STATUS_FAILED;
    static const boost::json::string JOB_STATUS_DETAIL_CONNECTION_LOSS;
    static const boost::json::string JOB_STATUS_DETAIL_STOPPED_BY_USER;
    static const boost::json::string JOB_STATUS_DETAIL_FAILED_TO_CREATE;

    // Takes ownership of the factory.
    explicit LinkJsonSession(LinkLlSessionAbstractFactory* factory);
    LinkJsonSession(std::string_view host, std::string_view port, std::uint32_t flags, std::string_view user,
                    std::string_view password);
    ~LinkJsonSession();

    LinkJsonSession(const LinkJsonSession&) = delete;
    LinkJsonSession& operator=(const LinkJsonSession&) = delete;

    // Connection. cancelPendingOperations also ends an attempt in progress:
    // its outcome is then STOPPED_MANUALLY.
    std::future<ErrorObject> asyncConnect();
    ErrorObject connect();
    // A stop request ends the attempt the same way; connect then stops what
    // is left of the attempt before it returns.
    ErrorObject connect(std::stop_token stop);
    void disconnect();
    void startWatchdog();
    void stopWatchdog();
    void updateConnectionStatus(MarlekLinkConnectionStatusEnum status);
    MarlekLinkConnectionStatusEnum getConnectionStatus() const;
    void setConnectionStatusCallback(const StatusCallback& callback);
    // The same for the link, which shares one callable with the session:
    // the replaced one (null for none) is handed back, to be let go of
    // once the caller holds no lock of its own.
    [[nodiscard]] std::shared_ptr<const StatusCallback>
    exchangeConnectionStatusCallback(std::shared_ptr<const StatusCallback> callback);
    // Kept within [0, longestRequestTimeout].
    void setRequestTimeout(std::chrono::milliseconds timeout);
    // Any value: a connection time-out beyond the clock's range never ends.
    void setConnectionTimeout(std::chrono::milliseconds timeout);
    static bool isIpAddress(const std::string& host);
    // True while the calling thread runs on behalf of a session: incoming
    // messages, status changes or time-outs, and so every callback they
    // call. Disconnecting or destroying a session there would join the very
    // thread that waits for the caller to return.
    static bool inSessionCallback();

    // Requests and replies. A time-out below 1 means the session's request
    // time-out. Every callback is called exactly once: with the real reply
    // or with a made-up failed one.
    static bool wasSuccessful(const boost::json::object& reply);
    static ErrorObject getError(const boost::json::object& reply);
    void sendRequest(boost::json::object request, const ReplyCallback& callback, int timeout);
    boost::json::object sendRequest(const boost::json::object& request, int timeout);
    void sendRawRequest(const boost::json::string& requestId, const std::string& text, const ReplyCallback& callback,
                        int timeout);
    void addPendingRequest(const boost::json::string& requestId, ReplyCallback callback, int timeout);
    void resolvePendingRequest(const boost::json::string& requestId, const boost::json::object& reply);
    void addRequestTimeout(boost::json::string requestId, int timeout);
    boost::json::string makeRequestId();
    void cancelPendingOperations();
    void cancelAllPendingOperations(CancellationReason reason);
    void addPendingOperation(const std::shared_ptr<PendingOperation>& operation);
    void deletePendingOperation(const std::shared_ptr<PendingOperation>& operation);

    // The table of running jobs; the job operations build on these.
    void addPendingJob(const boost::json::string& requestId, ReplyCallback callback, AbstractMeasurementJob* job);
    void resolvePendingJob(const boost::json::string& requestId, const boost::json::object& completion);

    // Running jobs. A job's start REPLY accepts or refuses it, a later
    // JOB_DONE ends it; every run ends exactly once, failures included (a
    // refused, unanswered or cancelled start, a lost connection) as a
    // made-up completion. The session refers to the job until its completion
    // callback has run: a job handed to the callback forms must outlive that.
    // Completion callbacks run on the worker thread, the watchdog thread, the
    // calling thread, or the cancelling thread.
    void doControlJob(const std::string& type, const boost::json::object& parameters, const ReplyCallback& callback,
                      const boost::json::array& stopConditions, const boost::json::object& metaData,
                      const JobOptions& options, AbstractMeasurementJob* job);
    boost::json::object doControlJob(const std::string& type, const boost::json::object& parameters,
                                     const boost::json::array& stopConditions, const boost::json::object& metaData,
                                     const JobOptions& options, AbstractMeasurementJob* job);
    void doControlJob(AbstractMeasurementJob& job, const ReplyCallback& callback, const boost::json::object& metaData);
    // Hands the completion to the job's processJobResult, which may raise on
    // the workstation's content.
    boost::json::object doControlJob(AbstractMeasurementJob& job);
    // Runs the job to its end with its live data delivered; the error of its
    // last job information. Never raises on the workstation's content: a
    // completion that cannot be read fails the job with JSON_MALFORMED, one
    // whose content does not decode with RESOURCE_CONTENT_INVALID.
    ErrorObject doJob(AbstractMeasurementJob& job);
    // Starts the job and returns once the request is handed over; only the
    // callback learns of the completion, and no live data reach the job.
    void doJobAsync(AbstractMeasurementJob& job, const ReplyCallback& callback);
    // Waits for the end of the job known by the job's last job id, which may
    // have been started by another client.
    ErrorObject waitForJobToFinish(AbstractMeasurementJob& job);
    void updatePendingJob(const boost::json::string& requestId, const boost::json::object& jobInfo);

    // Incoming messages, called on the low-level session's worker thread.
    // They never throw: bad content and failing callbacks cost one line on
    // the standard error stream and only the message concerned.
    void dispatchIncommingJson(const std::string& text);
    void dispatchIncommingBinary(std::string&& data);
    void handleEvent(const boost::json::object& message);
    void handleReply(const boost::json::object& message);
    void handleJobDone(const boost::json::object& message);

    // Event callbacks, run on the worker thread under the handler lock. Called
    // from one of them, these take effect when the current dispatch ends.
    void setEventHandler(const std::shared_ptr<MarlekLinkEventHandler>& handler);
    void setEventHandler(EventTypeEnum type, const std::shared_ptr<EventCallback>& callback);
    void clearEventHandler(const std::shared_ptr<MarlekLinkEventHandler>& handler);
    void clearEventHandler(EventTypeEnum type, const std::shared_ptr<EventCallback>& callback);
    // The same for the link, with the number the link gave the registration:
    // one that arrives after a later one of the same handler object is
    // ignored, so that registrations racing from several threads of the
    // link end as the link recorded them.
    void setEventHandler(const std::shared_ptr<MarlekLinkEventHandler>& handler, std::uint64_t registration);
    void clearEventHandler(const std::shared_ptr<MarlekLinkEventHandler>& handler, std::uint64_t registration);

    // Resources.
    std::expected<std::vector<Resource>, ErrorObject> getResourceList(ResourceTypeEnum type);
    Resource createResource(ResourceTypeEnum type, std::string_view name);
    // An invalid handle when the file does not open or the workstation refuses
    // the resource; the upload's error when the content could not be read or
    // appended (the resource is then deleted again).
    std::expected<Resource, ErrorObject> createResourceFromFile(ResourceTypeEnum type,
                                                                const std::filesystem::path& path,
                                                                std::string_view name);
    ErrorObject appendToResource(const Resource& resource, const std::vector<char>& content);
    // Limit 0 reads to the end, but not beyond the handle's size when known;
    // more data than asked for is RESOURCE_CONTENT_INVALID.
    ErrorObject retrieveResource(const Resource& resource, std::vector<char>& output, std::size_t limit,
                                 std::size_t offset);
    // Content beyond the maximum, or without one beyond the resource's size,
    // is RESOURCE_CONTENT_INVALID.
    ErrorObject retrieveFullResource(Resource& resource, std::string& output, std::size_t maximumSize);
    ErrorObject downloadResourceToFile(const Resource& resource, const std::filesystem::path& path);
    ErrorObject deleteResource(const Resource& resource);
    ErrorObject getUpdatedResourceInfo(Resource& resource);
    void setPendingDownload(const std::shared_ptr<DownloadCallback>& callback);
    void deletePendingDownload();

    // Queries, settings and connections: blocking exchanges with the
    // session's request time-out. A time-out or a lost connection comes back
    // as the failed reply's error, like any refusal by the workstation.
    // Identity over plain HTTP, without a session; a time-out of 0 sets no
    // limit.
    static std::expected<WorkstationInfo, ErrorObject> id(std::string_view host, std::string_view port,
                                                          std::chrono::milliseconds timeout);
    // A stop request ends the wait with STOPPED_MANUALLY.
    static std::expected<WorkstationInfo, ErrorObject> id(std::string_view host, std::string_view port,
                                                          std::chrono::milliseconds timeout, std::stop_token stop);
    std::expected<WorkstationInfo, ErrorObject> getWorkstationInfo();
    // Raises boost::system::system_error when the status does not read.
    std::expected<WorkstationStatus, ErrorObject> getWorkstationStatus();
    // The workstation's current information on the job; the job keeps its own.
    std::expected<JobInfo, ErrorObject> getJobInfo(AbstractMeasurementJob& job);
    std::expected<std::vector<JobInfo>, ErrorObject> getJobInfoList(bool excludeFinished);
    ErrorObject checkJobParameters(AbstractMeasurementJob& job);
    // Nothing comes back; a stop that cannot be sent costs one line on the
    // standard error stream.
    void sendStop(QueueStopModeEnum mode);
    // Integers beyond 32 bits are left out of the set (see settingsSetFromJson).
    std::expected<SettingsSet, ErrorObject> getAllSettings();
    // The outcome of each setting is stored in the set; returns the reply.
    boost::json::object updateSettings(SettingsSet& settings);
    static void updateSettingsVector(const boost::json::object& reply, SettingsSet& settings);
    // Both raise boost::system::system_error when a connection does not read.
    std::expected<WebsocketConnectionInfo, ErrorObject> getOwnConnectionInfo();
    std::expected<std::vector<WebsocketConnectionInfo>, ErrorObject> getWorkstationConnectionList();
    ErrorObject dropWorkstationConnection(const WebsocketConnectionInfo& info);

    // Job result data. The dataset is a DcDataset or an EisDataset whose job
    // information is the one stored with the result, not the job's own.
    std::expected<std::shared_ptr<DataSet>, ErrorObject> getJobResultData(AbstractMeasurementJob& job);
    // The workstation's protocol version, 0 when it cannot be read. Only a
    // version actually read is kept for the connection: a failed query is
    // asked again next time, so that one time-out cannot make every later
    // impedance result of the connection decode with the wrong layout.
    std::uint64_t getDeviceProtocolVersion();

    // Test seam: the two-minute wait for a download's binary message.
    void setBinaryFrameTimeoutForTesting(std::chrono::milliseconds timeout) { binaryFrameTimeout = timeout; }

    // Written by the link before connect; read by the connect.
    TlsConfiguration tlsConfiguration;
    // Written by the connect thread; read once connect has returned.
    TlsVerificationResult lastVerificationResult;

private:
    // A made-up failed REPLY for requestId.
    static boost::json::object makeFailedReply(const boost::json::string& requestId, const ErrorObject& error);
    static std::string serialize(const boost::json::object& message);
    void failRequestAtOnce(const boost::json::string& requestId, const ErrorObject& error);
    void sendText(const boost::json::string& requestId, const std::string& text);
    // Runs onExpiry on the watchdog thread after the wait, unless the
    // watchdog stops or the time-out is cancelled first. Does nothing and
    // returns null while the watchdog is not running.
    std::shared_ptr<PendingTimeout> startTimeout(std::chrono::milliseconds wait, std::function<void()> onExpiry);
    void cancelTimeout(const std::shared_ptr<PendingTimeout>& timeout);
    void runConnectTask(const std::shared_ptr<OncePromise<ErrorObject>>& outcome,
                        std::future<MarlekLinkServiceStatusEnum> pendingOutcome);
    void cancelConnectAttempt();
    void endConnectAttempt();
    void disposeLowLevelSession();
    void installStatusLambda();
    void notifyStatusCallback(MarlekLinkConnectionStatusEnum status);
    void callEventCallbacks(EventTypeEnum type, const boost::json::object& message);
    // Registers or removes a handler object; with a registration number of
    // the link, only when no later one of the same object has been applied.
    void changeHandlerObject(const std::shared_ptr<MarlekLinkEventHandler>& handler, bool registered,
                             std::optional<std::uint64_t> registration);
    // What a change of the handler tables took out of them, let go of once
    // the lock is released: a callable's destructor may call the session.
    using Released = std::vector<std::shared_ptr<const void>>;
    using HandlerChange = std::function<void(Released&)>;
    // Applies a change of the handler tables under their lock, or after the
    // dispatch when the calling thread is dispatching events of this session.
    void changeEventHandlers(HandlerChange change);
    // True in a child made by fork after the session was made.
    bool inheritedByFork() const;
    static ErrorObject notConnectedError();
    // The error of a call that would wait for an answer on a thread of this
    // session (incoming messages, status changes, time-outs), where the
    // answer or its time-out can never arrive; empty elsewhere.
    std::optional<ErrorObject> answerCannotArrive() const;
    // The version, or why it could not be read.
    std::expected<std::uint64_t, ErrorObject> readDeviceProtocolVersion();
    static boost::json::object resourceRequest(ResourceTypeEnum type, std::string_view verb, boost::json::object keys);
    boost::json::object sendResourceRequest(ResourceTypeEnum type, std::string_view verb,
                                            boost::json::object keys, int timeout = -1);

    std::unique_ptr<LinkLlSessionAbstractFactory> factory;
    AbstractLinkLlSession* llSession = nullptr;
    // Guards the pointer, not the session: a request or stop sent from one
    // thread while another disconnects must not use a deleted session.
    // Sending only queues, so it may run under the lock; callbacks never do.
    mutable std::mutex llSessionMutex;
    std::optional<std::uint64_t> cachedProtocolVersion;
    // Guards the cache between callers; disconnect, which clears it, never
    // runs concurrently with requests.
    std::mutex protocolVersionMutex;
    std::mutex requestIdGeneratorMutex;
    boost::uuids::random_generator requestIdGenerator;

    struct PendingRequest {
        ReplyCallback callback;
        // Cancelled when the request is resolved: a burst of answered
        // requests must not leave thousands of timers running.
        std::shared_ptr<PendingTimeout> timeout;
    };
    std::mutex pendingRequestsMutex;
    std::map<boost::json::string, PendingRequest> pendingRequests;
    std::mutex pendingJobsMutex;
    std::map<boost::json::string, PendingJob> pendingJobs;
    std::map<EventTypeEnum, std::set<std::shared_ptr<EventCallback>>> eventHandlers;
    std::set<std::shared_ptr<MarlekLinkEventHandler>> handlerObjects;
    // The link's number of the latest registration applied, per handler object.
    std::map<const MarlekLinkEventHandler*, std::uint64_t> appliedRegistrations;
    std::mutex eventHandlersMutex;
    // Changes asked for by event callbacks during a dispatch, applied at its
    // end; guarded by eventHandlersMutex.
    std::vector<HandlerChange> deferredRegistrations;
    std::mutex pendingDownloadMutex;
    std::shared_ptr<DownloadCallback> pendingDownload;
    std::mutex pendingOperationsMutex;
    std::set<std::shared_ptr<PendingOperation>> pendingOperations;
    // Held for a whole full download, so that a second one cannot replace
    // the first one's receiver and leave it waiting.
    std::mutex fullDownloadMutex;

    std::atomic<std::chrono::milliseconds> requestTimeout{std::chrono::milliseconds(1000)};
    std::atomic<std::chrono::milliseconds> connectionTimeout{std::chrono::milliseconds(1500)};
    std::atomic<std::chrono::milliseconds> binaryFrameTimeout{std::chrono::milliseconds(120000)};

    // Held by pointer, like the time-outs, so that a child made by fork can
    // keep them instead of destroying what the parent's threads used.
    std::unique_ptr<boost::asio::io_context> ioContext = std::make_unique<boost::asio::io_context>();
    std::unique_ptr<std::thread> watchdogThread;
    std::unique_ptr<boost::asio::executor_work_guard<boost::asio::io_context::executor_type>> workGuard;
    std::mutex watchdogMutex;
    // Open while the watchdog runs, so that no time-out is started behind
    // its stop and none can hold its join.
    std::unique_ptr<SessionTimeouts> timeouts = std::make_unique<SessionTimeouts>(*ioContext);

    // True once the current low-level session has connected; requests fail
    // at once otherwise, instead of waiting in a queue nobody sends.
    std::atomic<bool> connectionEstablished{false};
    // Held by connecting and disconnecting, each a whole, so that the two
    // never change the low-level session or the threads under each other;
    // never held while waiting for an answer.
    std::mutex transitionMutex;
    // Guards connectThread and connectOutcome: the attempt is started on the
    // caller's thread while a status callback may already tear the session
    // down, or a cancellation end the attempt, on another one.
    std::mutex connectThreadMutex;
    std::thread connectThread;
    // The outcome of the latest attempt; the first of its connect thread and
    // a cancellation to offer one decides it.
    std::shared_ptr<OncePromise<ErrorObject>> connectOutcome;
    std::atomic<bool> connectInProgress{false};

    std::mutex statusCallbackMutex;
    std::shared_ptr<const StatusCallback> connectionStatusCallback;

    const std::uint64_t madeInForkGeneration;
};
