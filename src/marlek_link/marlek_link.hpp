#pragma once

#include "marlek_json_common/json_common/configuration/device/workstation_info.hpp"
#include "marlek_json_common/json_common/logging/error_object.hpp"
#include "marlek_json_common/json_common/resources/resource_types.hpp"
#include "marlek_link_json/jobs/common/jobinfo.hpp"
#include "marlek_link_json/jobs/control/settings/settings_set.hpp"
#include "marlek_link_json/link_ll_session_status.hpp"
#include "marlek_link_json/queue_stop_mode.hpp"
#include "marlek_link_json/request_timeout_limit.hpp"
#include "marlek_link_json/resource.hpp"
#include "marlek_link_json/tls_configuration.hpp"
#include "marlek_link_json/tls_verification_result.hpp"
#include "marlek_link_json/websocket_connection_info.hpp"
#include "marlek_link_json/workstation_status.hpp"

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <expected>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

class AbstractMeasurementJob;
class DataSet;
class LinkJsonSession;
class MarlekLinkEventHandler;

// The public handle of one workstation. Until connect it only holds settings;
// each connect builds a fresh session from them, so every setting survives a
// reconnect while what lives in a session (pending work, registrations, the
// cached protocol version) does not. Without a session every operation
// answers "no network connection has been established yet" as a value.
//
// Every call may come from any thread; cancelPendingOperations is meant for
// one while another call blocks. connect and disconnect are meant for one
// thread at a time. The event handlers and the status callback run on the
// session's threads; they may change the link's registrations and settings,
// and disconnect or destroy the link: the session is then torn down once the
// callback has returned.
//
// In a child made by fork, a link made before the fork is left without a
// connection for good: its session's threads stayed behind in the parent.
// Every call returns at once as without a session, connect refuses with the
// same error, and destruction leaves the inherited session alone. Links made
// in the child work as usual.
class MarlekLink {
public:
    using ConnectionStatusCallback = std::function<void(MarlekLinkConnectionStatusEnum)>;

    MarlekLink(std::string_view host, std::string_view port, unsigned flags = 0, std::string_view user = {},
               std::string_view password = {});
    virtual ~MarlekLink();

    MarlekLink(const MarlekLink&) = delete;
    MarlekLink& operator=(const MarlekLink&) = delete;

    virtual ErrorObject connect();
    virtual void disconnect();
    // Without a session the job is marked failed (NOT_CONNECTED) first.
    virtual ErrorObject doJob(AbstractMeasurementJob& job);
    virtual std::expected<std::shared_ptr<DataSet>, ErrorObject> getJobResultData(AbstractMeasurementJob& job);
    virtual ErrorObject waitForJobToFinish(AbstractMeasurementJob& job);
    virtual ErrorObject checkJobParameters(AbstractMeasurementJob& job);
    // Without a session nothing is sent.
    virtual void sendStop(QueueStopModeEnum mode);
    // Stores each setting's outcome in the set. Without a session every
    // setting is marked not updated, with the not-connected error.
    virtual void updateSettings(SettingsSet& settings);
    virtual std::expected<SettingsSet, ErrorObject> getSettings();
    virtual std::expected<std::vector<JobInfo>, ErrorObject> getJobInfoList(bool excludeFinished);
    virtual std::expected<JobInfo, ErrorObject> getJobInfo(AbstractMeasurementJob& job);
    virtual std::expected<WorkstationInfo, ErrorObject> getWorkstationInfo();
    virtual std::expected<WorkstationStatus, ErrorObject> getWorkstationStatus();
    virtual std::expected<WebsocketConnectionInfo, ErrorObject> getOwnConnectionInfo();
    virtual std::expected<std::vector<WebsocketConnectionInfo>, ErrorObject> getWorkstationConnectionList();
    virtual ErrorObject dropWorkstationConnection(const WebsocketConnectionInfo& info);
    virtual std::expected<Resource, ErrorObject> createResource(ResourceTypeEnum type, std::string_view name);
    virtual std::expected<Resource, ErrorObject> createResourceFromFile(ResourceTypeEnum type,
                                                                        const std::filesystem::path& path,
                                                                        std::string_view name);
    virtual ErrorObject appendToResource(const Resource& resource, const std::vector<char>& content);
    virtual ErrorObject retrieveResource(const Resource& resource, std::vector<char>& output, std::size_t limit,
                                         std::size_t offset);
    virtual ErrorObject retrieveFullResource(Resource& resource, std::string& output, std::size_t maximumSize);
    virtual ErrorObject downloadResourceToFile(const Resource& resource, const std::filesystem::path& path);
    virtual ErrorObject deleteResource(const Resource& resource);
    virtual std::expected<std::vector<Resource>, ErrorObject> getAvailableResources(ResourceTypeEnum type);
    virtual ErrorObject getUpdatedResourceInfo(Resource& resource);
    virtual MarlekLinkConnectionStatusEnum getConnectionStatus() const;
    virtual bool isConnected() const;

    // Ends every call that waits on this link, connect included, with
    // STOPPED_MANUALLY; the link stays usable. Meant for another thread.
    void cancelPendingOperations();

    // Settings; they take effect at the next connect unless said otherwise.
    void setDestinationHost(std::string_view host, std::string_view port);
    void setHttpAuthenticationInfo(std::string_view user, std::string_view password);
    void setFlag(unsigned flag);
    void clearFlag(unsigned flag);
    // True when every bit of flag is set.
    bool testFlag(unsigned flag) const;
    // Also applies to the current session at once. Taken as 0 below 0 and as
    // longestRequestTimeout (about 8 days) above it.
    void setRequestTimeout(std::chrono::milliseconds timeout);
    void setConnectionTimeout(std::chrono::milliseconds timeout);
    // Handed to the session only when USE_SSL is set.
    void sslSetTlsConfiguration(const TlsConfiguration& configuration);
    void sslSetTrustedCaFileList(const std::vector<std::string>& files);
    void sslSetTrustedCertFingerprintList(const std::vector<std::string>& fingerprints);
    // The outcome of the certificate check of the most recent connect, as a
    // copy: a connect on another thread may replace it.
    TlsVerificationResult sslGetlastVerificationResult() const;

    // A handler is kept once; setting it again registers it with the current
    // session again, which reports the duplicate itself. These three may be
    // called from any callback of the link and take effect in the order
    // made; a handler change made in an event callback takes effect once
    // that event has reached all of its handlers.
    void setEventHandler(const std::shared_ptr<MarlekLinkEventHandler>& handler);
    void clearEventHandler(const std::shared_ptr<MarlekLinkEventHandler>& handler);
    // An empty function clears it. Also applies to the current session.
    void setConnectionStatusCallback(const ConnectionStatusCallback& callback);

    // The workstation's identity over one HTTP request, without a session.
    // A time-out of 0 sets no limit; a stop request ends the wait with
    // STOPPED_MANUALLY.
    static std::expected<WorkstationInfo, ErrorObject> id(std::string_view host, std::string_view port,
                                                          std::chrono::milliseconds timeout);
    static std::expected<WorkstationInfo, ErrorObject> id(std::string_view host, std::string_view port,
                                                          std::chrono::milliseconds timeout, std::stop_token stop);
    // The same with the link's host and port.
    std::expected<WorkstationInfo, ErrorObject> id(std::chrono::milliseconds timeout) const;
    std::expected<WorkstationInfo, ErrorObject> id(std::chrono::milliseconds timeout, std::stop_token stop) const;

    static bool isIpAddress(const std::string& host);
    static std::string getLibraryVersion();
    static unsigned getSupportedProtocolVersion();
    // What a caller reports when a dataset from getJobResultData is not of
    // the concrete type it expected.
    static ErrorObject datasetCastError();
    static void failJobWhileDisconnected(AbstractMeasurementJob& job);

protected:
    static ErrorObject notConnectedError();
    // True in a child made by fork after the link was made.
    bool inheritedByFork() const;

private:
    using SharedStatusCallback = std::shared_ptr<const ConnectionStatusCallback>;

    std::shared_ptr<LinkJsonSession> currentSession() const;
    // Forwards to the current session, or answers the not-connected error.
    template <typename Result, typename Call>
    Result forward(Call&& call);
    // A session built from the settings and registrations; under the lock.
    std::shared_ptr<LinkJsonSession> makeSession() const;

    // Guards every member below but the flags, which are atomic: calls on
    // several threads and from the link's own callbacks reach them. Never
    // held while waiting for a session's threads, calling a callback or
    // letting go of a callable, so that any callback, and the destructor of
    // a callable the link lets go of, may call the link again.
    mutable std::mutex mutex;
    // Each call holds its own reference while it runs, so that a callback
    // that disconnects the link does not pull the session from under it.
    std::shared_ptr<LinkJsonSession> session;
    // Of the latest connect: a cancellation ends it through this.
    std::stop_source connectStop;
    std::set<std::shared_ptr<MarlekLinkEventHandler>> eventHandlers;
    // Numbers the changes of eventHandlers; the session applies those that
    // race on their way to it in this order.
    std::uint64_t handlerRegistrations = 0;
    // Shared with the session: the link and the session let go of it, and
    // the callable goes with the last of them.
    SharedStatusCallback connectionStatusCallback;
    std::string host;
    std::string port;
    std::string user;
    std::string password;
    std::chrono::milliseconds requestTimeout{1000};
    std::chrono::milliseconds connectionTimeout{1500};
    TlsConfiguration tlsConfiguration;
    TlsVerificationResult lastVerificationResult;

    std::atomic<unsigned> flags;
    const std::uint64_t madeInForkGeneration;
};
