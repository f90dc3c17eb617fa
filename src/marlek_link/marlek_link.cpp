#include "marlek_link/marlek_link.hpp"

#include "marlek_json_common/json_common/logging/error_factory_json.hpp"
#include "marlek_link/library_version.hpp"
#include "marlek_link/session_teardown.hpp"
#include "marlek_link_json/events/marleklinkeventhandler.hpp"
#include "marlek_link_json/fork_generation.hpp"
#include "marlek_link_json/inherited_objects.hpp"
#include "marlek_link_json/jobs/abstract_measurementjob.hpp"
#include "marlek_link_json/jobs/dataset/dataset.hpp"
#include "marlek_link_json/link_json_session.hpp"
#include "marlek_link_json/link_ll_session_flags.hpp"

#include <type_traits>
#include <utility>

MarlekLink::MarlekLink(std::string_view host, std::string_view port, unsigned flags, std::string_view user,
                       std::string_view password)
    : host(host), port(port), user(user), password(password), flags(flags), madeInForkGeneration(forkGeneration())
{
}

MarlekLink::~MarlekLink()
{
    if (inheritedByFork()) {
        // Neither locked nor torn down: its threads, and maybe the holder of
        // its locks, stayed in the parent.
        if (session) {
            keepInheritedForever(std::move(session));
        }
        return;
    }
    std::shared_ptr<LinkJsonSession> retiring;
    SharedStatusCallback statusCallback;
    SharedStatusCallback statusCallbackInSession;
    std::set<std::shared_ptr<MarlekLinkEventHandler>> handlers;
    {
        std::lock_guard lock(mutex);
        retiring = std::move(session);
        statusCallback = std::move(connectionStatusCallback);
        handlers = std::move(eventHandlers);
    }
    // Destroyed from one of its own callbacks, the link is gone before its
    // session has closed: nobody is left to tell about the closing.
    if (retiring && LinkJsonSession::inSessionCallback()) {
        statusCallbackInSession = retiring->exchangeConnectionStatusCallback(nullptr);
    }
    SessionTeardown::dispose(std::move(retiring));
    // Let go of while the link is still whole: their destructors may call it.
    statusCallbackInSession.reset();
    statusCallback.reset();
    handlers.clear();
}

ErrorObject MarlekLink::notConnectedError()
{
    return ErrorFactory::makeError<ErrorCodeEnum::CONNECTION_NOT_ESTABLISHED>();
}

bool MarlekLink::inheritedByFork() const
{
    return forkGeneration() != madeInForkGeneration;
}

std::shared_ptr<LinkJsonSession> MarlekLink::currentSession() const
{
    if (inheritedByFork()) {
        return nullptr;
    }
    std::lock_guard lock(mutex);
    return session;
}

template <typename Result, typename Call>
Result MarlekLink::forward(Call&& call)
{
    const std::shared_ptr<LinkJsonSession> current = currentSession();
    if (!current) {
        if constexpr (std::is_same_v<Result, ErrorObject>) {
            return notConnectedError();
        } else {
            return std::unexpected(notConnectedError());
        }
    }
    return std::forward<Call>(call)(*current);
}

std::shared_ptr<LinkJsonSession> MarlekLink::makeSession() const
{
    auto fresh = std::make_shared<LinkJsonSession>(host, port, flags.load(), user, password);
    if (testFlag(MarlekLinkConnectionFlags::USE_SSL)) {
        fresh->tlsConfiguration = tlsConfiguration;
    }
    fresh->setRequestTimeout(requestTimeout);
    fresh->setConnectionTimeout(connectionTimeout);
    // Every later change of the link is numbered higher.
    for (const auto& handler : eventHandlers) {
        fresh->setEventHandler(handler, handlerRegistrations);
    }
    static_cast<void>(fresh->exchangeConnectionStatusCallback(connectionStatusCallback));
    return fresh;
}

ErrorObject MarlekLink::connect()
{
    if (inheritedByFork()) {
        return notConnectedError();
    }
    // Made before anything else, so that a cancellation from now on finds it.
    std::stop_source stop;
    std::shared_ptr<LinkJsonSession> previous;
    {
        std::lock_guard lock(mutex);
        if (session && session->getConnectionStatus() == MarlekLinkConnectionStatusEnum::CONNECTED) {
            return ErrorObject(ErrorCodeEnum::ALREADY_CONNECTED, "already connected");
        }
        previous = std::move(session);
        connectStop = stop;
    }
    SessionTeardown::dispose(std::move(previous));
    if (stop.stop_requested()) {
        return ErrorFactory::makeError<ErrorCodeEnum::STOPPED_MANUALLY>();
    }

    std::shared_ptr<LinkJsonSession> fresh;
    {
        // Built and published in one step: a registration or setting made
        // meanwhile on another thread reaches either the link before the
        // session is built, or the published session.
        std::lock_guard lock(mutex);
        fresh = makeSession();
        session = fresh;
    }
    ErrorObject result = fresh->connect(stop.get_token());
    bool stillCurrent = false;
    {
        std::lock_guard lock(mutex);
        lastVerificationResult = fresh->lastVerificationResult;
        if (result.getErrorCodeEnum() != ErrorCodeEnum::NONE && session == fresh) {
            session.reset();
            stillCurrent = true;
        }
    }
    if (result.getErrorCodeEnum() != ErrorCodeEnum::NONE) {
        // A disconnect meanwhile has ended it already.
        if (stillCurrent) {
            SessionTeardown::dispose(std::move(fresh));
        }
        return result;
    }
    return ErrorObject();
}

void MarlekLink::disconnect()
{
    if (inheritedByFork()) {
        return;
    }
    std::shared_ptr<LinkJsonSession> retiring;
    {
        std::lock_guard lock(mutex);
        retiring = std::move(session);
    }
    SessionTeardown::dispose(std::move(retiring));
}

void MarlekLink::cancelPendingOperations()
{
    if (inheritedByFork()) {
        return;
    }
    std::shared_ptr<LinkJsonSession> current;
    std::stop_source stop;
    {
        std::lock_guard lock(mutex);
        current = session;
        stop = connectStop;
    }
    // Ends a connect in progress, also one whose attempt has not started yet.
    stop.request_stop();
    if (current) {
        current->cancelPendingOperations();
    }
}

MarlekLinkConnectionStatusEnum MarlekLink::getConnectionStatus() const
{
    const auto current = currentSession();
    return current ? current->getConnectionStatus() : MarlekLinkConnectionStatusEnum::DISCONNECTED;
}

bool MarlekLink::isConnected() const
{
    return getConnectionStatus() == MarlekLinkConnectionStatusEnum::CONNECTED;
}

ErrorObject MarlekLink::doJob(AbstractMeasurementJob& job)
{
    const auto current = currentSession();
    if (!current) {
        failJobWhileDisconnected(job);
        return notConnectedError();
    }
    return current->doJob(job);
}

std::expected<std::shared_ptr<DataSet>, ErrorObject> MarlekLink::getJobResultData(AbstractMeasurementJob& job)
{
    return forward<std::expected<std::shared_ptr<DataSet>, ErrorObject>>(
        [&](LinkJsonSession& current) { return current.getJobResultData(job); });
}

ErrorObject MarlekLink::waitForJobToFinish(AbstractMeasurementJob& job)
{
    return forward<ErrorObject>([&](LinkJsonSession& current) { return current.waitForJobToFinish(job); });
}

ErrorObject MarlekLink::checkJobParameters(AbstractMeasurementJob& job)
{
    return forward<ErrorObject>([&](LinkJsonSession& current) { return current.checkJobParameters(job); });
}

void MarlekLink::sendStop(QueueStopModeEnum mode)
{
    if (const auto current = currentSession()) {
        current->sendStop(mode);
    }
}

void MarlekLink::updateSettings(SettingsSet& settings)
{
    if (const auto current = currentSession()) {
        current->updateSettings(settings);
        return;
    }
    // Outcomes of an earlier update must not read as the outcome of this one.
    for (auto& [name, setting] : settings) {
        setting.setSuccessfullyUpdated(false);
        setting.setUpdateFailureReason(notConnectedError());
    }
}

std::expected<SettingsSet, ErrorObject> MarlekLink::getSettings()
{
    return forward<std::expected<SettingsSet, ErrorObject>>(
        [](LinkJsonSession& current) { return current.getAllSettings(); });
}

std::expected<std::vector<JobInfo>, ErrorObject> MarlekLink::getJobInfoList(bool excludeFinished)
{
    return forward<std::expected<std::vector<JobInfo>, ErrorObject>>(
        [&](LinkJsonSession& current) { return current.getJobInfoList(excludeFinished); });
}

std::expected<JobInfo, ErrorObject> MarlekLink::getJobInfo(AbstractMeasurementJob& job)
{
    return forward<std::expected<JobInfo, ErrorObject>>(
        [&](LinkJsonSession& current) { return current.getJobInfo(job); });
}

std::expected<WorkstationInfo, ErrorObject> MarlekLink::getWorkstationInfo()
{
    return forward<std::expected<WorkstationInfo, ErrorObject>>(
        [](LinkJsonSession& current) { return current.getWorkstationInfo(); });
}

std::expected<WorkstationStatus, ErrorObject> MarlekLink::getWorkstationStatus()
{
    return forward<std::expected<WorkstationStatus, ErrorObject>>(
        [](LinkJsonSession& current) { return current.getWorkstationStatus(); });
}

std::expected<WebsocketConnectionInfo, ErrorObject> MarlekLink::getOwnConnectionInfo()
{
    return forward<std::expected<WebsocketConnectionInfo, ErrorObject>>(
        [](LinkJsonSession& current) { return current.getOwnConnectionInfo(); });
}

std::expected<std::vector<WebsocketConnectionInfo>, ErrorObject> MarlekLink::getWorkstationConnectionList()
{
    return forward<std::expected<std::vector<WebsocketConnectionInfo>, ErrorObject>>(
        [](LinkJsonSession& current) { return current.getWorkstationConnectionList(); });
}

ErrorObject MarlekLink::dropWorkstationConnection(const WebsocketConnectionInfo& info)
{
    return forward<ErrorObject>([&](LinkJsonSession& current) { return current.dropWorkstationConnection(info); });
}

std::expected<Resource, ErrorObject> MarlekLink::createResource(ResourceTypeEnum type, std::string_view name)
{
    return forward<std::expected<Resource, ErrorObject>>(
        [&](LinkJsonSession& current) { return current.createResource(type, name); });
}

std::expected<Resource, ErrorObject> MarlekLink::createResourceFromFile(ResourceTypeEnum type,
                                                                        const std::filesystem::path& path,
                                                                        std::string_view name)
{
    return forward<std::expected<Resource, ErrorObject>>(
        [&](LinkJsonSession& current) { return current.createResourceFromFile(type, path, name); });
}

ErrorObject MarlekLink::appendToResource(const Resource& resource, const std::vector<char>& content)
{
    return forward<ErrorObject>([&](LinkJsonSession& current) { return current.appendToResource(resource, content); });
}

ErrorObject MarlekLink::retrieveResource(const Resource& resource, std::vector<char>& output, std::size_t limit,
                                         std::size_t offset)
{
    return forward<ErrorObject>(
        [&](LinkJsonSession& current) { return current.retrieveResource(resource, output, limit, offset); });
}

ErrorObject MarlekLink::retrieveFullResource(Resource& resource, std::string& output, std::size_t maximumSize)
{
    return forward<ErrorObject>(
        [&](LinkJsonSession& current) { return current.retrieveFullResource(resource, output, maximumSize); });
}

ErrorObject MarlekLink::downloadResourceToFile(const Resource& resource, const std::filesystem::path& path)
{
    return forward<ErrorObject>(
        [&](LinkJsonSession& current) { return current.downloadResourceToFile(resource, path); });
}

ErrorObject MarlekLink::deleteResource(const Resource& resource)
{
    return forward<ErrorObject>([&](LinkJsonSession& current) { return current.deleteResource(resource); });
}

std::expected<std::vector<Resource>, ErrorObject> MarlekLink::getAvailableResources(ResourceTypeEnum type)
{
    return forward<std::expected<std::vector<Resource>, ErrorObject>>(
        [&](LinkJsonSession& current) { return current.getResourceList(type); });
}

ErrorObject MarlekLink::getUpdatedResourceInfo(Resource& resource)
{
    return forward<ErrorObject>([&](LinkJsonSession& current) { return current.getUpdatedResourceInfo(resource); });
}

void MarlekLink::setDestinationHost(std::string_view newHost, std::string_view newPort)
{
    if (inheritedByFork()) {
        return;
    }
    std::lock_guard lock(mutex);
    host = newHost;
    port = newPort;
}

void MarlekLink::setHttpAuthenticationInfo(std::string_view newUser, std::string_view newPassword)
{
    if (inheritedByFork()) {
        return;
    }
    std::lock_guard lock(mutex);
    user = newUser;
    password = newPassword;
}

void MarlekLink::setFlag(unsigned flag)
{
    if (inheritedByFork()) {
        return;
    }
    flags |= flag;
}

void MarlekLink::clearFlag(unsigned flag)
{
    if (inheritedByFork()) {
        return;
    }
    flags &= ~flag;
}

bool MarlekLink::testFlag(unsigned flag) const
{
    if (inheritedByFork()) {
        return false;
    }
    return (flags.load() & flag) == flag;
}

void MarlekLink::setRequestTimeout(std::chrono::milliseconds timeout)
{
    if (inheritedByFork()) {
        return;
    }
    // The session only stores the value: under the lock, the session and
    // the link keep the same last value.
    std::lock_guard lock(mutex);
    requestTimeout = timeout;
    if (session) {
        session->setRequestTimeout(timeout);
    }
}

void MarlekLink::setConnectionTimeout(std::chrono::milliseconds timeout)
{
    if (inheritedByFork()) {
        return;
    }
    std::lock_guard lock(mutex);
    connectionTimeout = timeout;
}

void MarlekLink::sslSetTlsConfiguration(const TlsConfiguration& configuration)
{
    if (inheritedByFork()) {
        return;
    }
    std::lock_guard lock(mutex);
    tlsConfiguration = configuration;
}

void MarlekLink::sslSetTrustedCaFileList(const std::vector<std::string>& files)
{
    if (inheritedByFork()) {
        return;
    }
    std::lock_guard lock(mutex);
    tlsConfiguration.trusted_ca_files = files;
}

void MarlekLink::sslSetTrustedCertFingerprintList(const std::vector<std::string>& fingerprints)
{
    if (inheritedByFork()) {
        return;
    }
    std::lock_guard lock(mutex);
    tlsConfiguration.trusted_cert_fingerprints = fingerprints;
}

TlsVerificationResult MarlekLink::sslGetlastVerificationResult() const
{
    if (inheritedByFork()) {
        return {};
    }
    std::lock_guard lock(mutex);
    return lastVerificationResult;
}

void MarlekLink::setEventHandler(const std::shared_ptr<MarlekLinkEventHandler>& handler)
{
    if (inheritedByFork()) {
        return;
    }
    std::shared_ptr<LinkJsonSession> current;
    std::uint64_t registration = 0;
    {
        std::lock_guard lock(mutex);
        eventHandlers.insert(handler);
        registration = ++handlerRegistrations;
        current = session;
    }
    // Outside the lock: the session waits for an event being dispatched.
    if (current) {
        current->setEventHandler(handler, registration);
    }
}

void MarlekLink::clearEventHandler(const std::shared_ptr<MarlekLinkEventHandler>& handler)
{
    if (inheritedByFork()) {
        return;
    }
    // Let go of last: the handler's callable may hold the last reference to
    // this link.
    std::set<std::shared_ptr<MarlekLinkEventHandler>>::node_type removed;
    std::shared_ptr<LinkJsonSession> current;
    std::uint64_t registration = 0;
    {
        std::lock_guard lock(mutex);
        removed = eventHandlers.extract(handler);
        registration = ++handlerRegistrations;
        current = session;
    }
    if (current) {
        current->clearEventHandler(handler, registration);
    }
}

void MarlekLink::setConnectionStatusCallback(const ConnectionStatusCallback& callback)
{
    if (inheritedByFork()) {
        return;
    }
    // Copied before the lock: copying may need what the callable holds (a
    // Python callable needs the interpreter's lock).
    SharedStatusCallback fresh = callback ? std::make_shared<const ConnectionStatusCallback>(callback) : nullptr;
    // Let go of last, in this order: the old callable may hold the last
    // reference to this link, which is then gone.
    SharedStatusCallback replaced;
    SharedStatusCallback replacedInSession;
    {
        // The session only swaps the pointer: under the lock, the link and
        // the session keep the same last callback.
        std::lock_guard lock(mutex);
        replaced = std::exchange(connectionStatusCallback, fresh);
        if (session) {
            replacedInSession = session->exchangeConnectionStatusCallback(std::move(fresh));
        }
    }
}

std::expected<WorkstationInfo, ErrorObject> MarlekLink::id(std::string_view host, std::string_view port,
                                                           std::chrono::milliseconds timeout)
{
    return LinkJsonSession::id(host, port, timeout);
}

std::expected<WorkstationInfo, ErrorObject> MarlekLink::id(std::string_view host, std::string_view port,
                                                           std::chrono::milliseconds timeout, std::stop_token stop)
{
    return LinkJsonSession::id(host, port, timeout, std::move(stop));
}

std::expected<WorkstationInfo, ErrorObject> MarlekLink::id(std::chrono::milliseconds timeout) const
{
    return id(timeout, std::stop_token());
}

std::expected<WorkstationInfo, ErrorObject> MarlekLink::id(std::chrono::milliseconds timeout,
                                                           std::stop_token stop) const
{
    if (inheritedByFork()) {
        return std::unexpected(notConnectedError());
    }
    std::string destinationHost;
    std::string destinationPort;
    {
        std::lock_guard lock(mutex);
        destinationHost = host;
        destinationPort = port;
    }
    return LinkJsonSession::id(destinationHost, destinationPort, timeout, std::move(stop));
}

bool MarlekLink::isIpAddress(const std::string& text)
{
    return LinkJsonSession::isIpAddress(text);
}

std::string MarlekLink::getLibraryVersion()
{
    return LibraryVersion::getVersion();
}

unsigned MarlekLink::getSupportedProtocolVersion()
{
    return LibraryVersion::getProtocolVersion();
}

ErrorObject MarlekLink::datasetCastError()
{
    return ErrorObject(ErrorCodeEnum::UNEXPECTED_EXCEPTION, "an unexpected exception occured: {0}",
                       "dataset type cast failed");
}

void MarlekLink::failJobWhileDisconnected(AbstractMeasurementJob& job)
{
    job.setFailed(notConnectedError(), JobStatusDetailEnum::NOT_CONNECTED);
}
