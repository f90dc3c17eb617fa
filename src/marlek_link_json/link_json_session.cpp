#include "marlek_link_json/link_json_session.hpp"

#include "marlek_json_common/json_common/logging/error_factory_json.hpp"
#include "marlek_link_json/abstract_link_ll_ssl_impl.hpp"
#include "marlek_link_json/fork_generation.hpp"
#include "marlek_link_json/inherited_objects.hpp"
#include "marlek_link_json/link_ll_session_flags.hpp"
#include "marlek_link_json/request_timeout_limit.hpp"

#include <boost/asio/post.hpp>
#include <boost/json/string.hpp>

#include <arpa/inet.h>

#include <algorithm>
#include <exception>
#include <iostream>
#include <utility>

namespace {

thread_local unsigned sessionCallbackDepth = 0;
// The session on whose behalf this thread runs, if any.
thread_local const LinkJsonSession* sessionOfThisThread = nullptr;

// Marks the extent of work done on behalf of a session (see inSessionCallback).
class SessionCallbackScope {
public:
    explicit SessionCallbackScope(const LinkJsonSession* session) : previous(sessionOfThisThread)
    {
        ++sessionCallbackDepth;
        sessionOfThisThread = session;
    }
    ~SessionCallbackScope()
    {
        --sessionCallbackDepth;
        sessionOfThisThread = previous;
    }
    SessionCallbackScope(const SessionCallbackScope&) = delete;
    SessionCallbackScope& operator=(const SessionCallbackScope&) = delete;

private:
    const LinkJsonSession* previous;
};

} // namespace

const boost::json::string LinkJsonSession::JOB_STATUS_FAILED = "FAILED";
const boost::json::string LinkJsonSession::JOB_STATUS_DETAIL_CONNECTION_LOSS = "CONNECTION_LOSS";
const boost::json::string LinkJsonSession::JOB_STATUS_DETAIL_STOPPED_BY_USER = "STOPPED_BY_USER";
const boost::json::string LinkJsonSession::JOB_STATUS_DETAIL_FAILED_TO_CREATE = "FAILED_TO_CREATE";

LinkJsonSession::LinkJsonSession(LinkLlSessionAbstractFactory* factory)
    : factory(factory), madeInForkGeneration(forkGeneration())
{
}

LinkJsonSession::LinkJsonSession(std::string_view host, std::string_view port, std::uint32_t flags,
                                 std::string_view user, std::string_view password)
    : LinkJsonSession(makeLinkLlSessionFactory(host, port, flags, user, password).release())
{
}

LinkJsonSession::~LinkJsonSession()
{
    if (inheritedByFork()) {
        // What the parent's threads ran on or waited for: joined, stopped or
        // destroyed here it would wait for threads that do not exist.
        keepInheritedForever(std::move(ioContext));
        keepInheritedForever(std::move(timeouts));
        keepInheritedForever(std::move(workGuard));
        keepInheritedForever(std::move(watchdogThread));
        keepInheritedForever(std::make_shared<std::thread>(std::move(connectThread)));
        return;
    }
    disconnect();
    // Let go of while the session is still whole: a callable's destructor
    // may call it.
    decltype(eventHandlers) callbacks;
    decltype(handlerObjects) handlers;
    decltype(deferredRegistrations) deferred;
    std::shared_ptr<const StatusCallback> statusCallback;
    {
        std::lock_guard lock(eventHandlersMutex);
        callbacks.swap(eventHandlers);
        handlers.swap(handlerObjects);
        deferred.swap(deferredRegistrations);
    }
    {
        std::lock_guard lock(statusCallbackMutex);
        statusCallback = std::exchange(connectionStatusCallback, nullptr);
    }
}

bool LinkJsonSession::inheritedByFork() const
{
    return forkGeneration() != madeInForkGeneration;
}

ErrorObject LinkJsonSession::notConnectedError()
{
    return ErrorFactory::makeError<ErrorCodeEnum::CONNECTION_NOT_ESTABLISHED>();
}

std::future<ErrorObject> LinkJsonSession::asyncConnect()
{
    const auto outcome = std::make_shared<OncePromise<ErrorObject>>();
    auto future = outcome->getFuture();
    if (inheritedByFork()) {
        outcome->offer(notConnectedError());
        return future;
    }
    const std::lock_guard transition(transitionMutex);
    if (llSession && llSession->getConnectionStatus() == MarlekLinkConnectionStatusEnum::CONNECTED) {
        outcome->offer(ErrorObject(ErrorCodeEnum::ALREADY_CONNECTED, "already connected"));
        return future;
    }
    endConnectAttempt();
    stopWatchdog();
    disposeLowLevelSession();

    {
        std::lock_guard lock(llSessionMutex);
        llSession = factory->createSession();
    }
    if (!llSession) {
        outcome->offer(ErrorObject(ErrorCodeEnum::UNEXPECTED_EXCEPTION, "an unexpected exception occured: {0}",
                                   "Unable to create connection object"));
        return future;
    }
    llSession->setReceiveHandler([this](std::string&& text) {
        SessionCallbackScope scope(this);
        dispatchIncommingJson(text);
    });
    llSession->setReceiveBinaryHandler([this](std::string&& data) {
        SessionCallbackScope scope(this);
        dispatchIncommingBinary(std::move(data));
    });
    installStatusLambda();
    llSession->connectionTimeout = connectionTimeout.load();
    if (AbstractLinkLlSslImpl* ssl = llSession->getSsl()) {
        ssl->setTlsConfiguration(tlsConfiguration);
    }
    // Started here rather than on the connect thread, so that a disconnect
    // meanwhile always finds the attempt it has to stop.
    std::lock_guard lock(connectThreadMutex);
    auto pendingOutcome = llSession->asyncConnect();
    connectInProgress = true;
    connectOutcome = outcome;
    connectThread = std::thread([this, outcome, pendingOutcome = std::move(pendingOutcome)]() mutable {
        runConnectTask(outcome, std::move(pendingOutcome));
    });
    return future;
}

ErrorObject LinkJsonSession::connect()
{
    return connect(std::stop_token());
}

ErrorObject LinkJsonSession::connect(std::stop_token stop)
{
    if (inheritedByFork()) {
        return notConnectedError();
    }
    std::future<ErrorObject> outcome = asyncConnect();
    ErrorObject result;
    {
        const std::stop_callback onStop(stop, [this] { cancelConnectAttempt(); });
        result = outcome.get();
    }
    // A cancelled attempt goes on until it is stopped; left alone it could
    // still connect, behind a caller who was told it did not.
    if (result.getErrorCodeEnum() == ErrorCodeEnum::STOPPED_MANUALLY) {
        disconnect();
    }
    return result;
}

void LinkJsonSession::cancelConnectAttempt()
{
    if (inheritedByFork()) {
        return;
    }
    std::shared_ptr<OncePromise<ErrorObject>> attempt;
    {
        std::lock_guard lock(connectThreadMutex);
        attempt = connectOutcome;
    }
    if (attempt) {
        attempt->offer(ErrorFactory::makeError<ErrorCodeEnum::STOPPED_MANUALLY>());
    }
}

void LinkJsonSession::runConnectTask(const std::shared_ptr<OncePromise<ErrorObject>>& outcome,
                                     std::future<MarlekLinkServiceStatusEnum> pendingOutcome)
{
    using Status = MarlekLinkServiceStatusEnum;
    struct AttemptEnd {
        std::atomic<bool>& inProgress;
        ~AttemptEnd() { inProgress = false; }
    } attemptEnd{connectInProgress};
    try {
        const Status status = pendingOutcome.get();
        if (AbstractLinkLlSslImpl* ssl = llSession->getSsl()) {
            lastVerificationResult = ssl->getLastVerificationResult();
        }
        switch (status) {
        case Status::OK:
            connectionEstablished = true;
            startWatchdog();
            outcome->offer(ErrorObject());
            return;
        case Status::RESOLVE_FAILED:
            outcome->offer(ErrorObject(ErrorCodeEnum::CONNECTION_DNS_ERROR, "dns error: {0}",
                                       llSession->getHost() + ":" + llSession->getPort()));
            return;
        case Status::CONNECT_FAILED:
            outcome->offer(ErrorObject(ErrorCodeEnum::CONNECTION_FAILED, "failed to connect"));
            return;
        case Status::TLS_SETUP_FAILED:
            outcome->offer(ErrorObject(ErrorCodeEnum::TLS_SETUP_FAILED, "TLS setup failed"));
            return;
        case Status::TLS_HANDSHAKE_FAILED:
            outcome->offer(ErrorObject(ErrorCodeEnum::TLS_HANDSHAKE_FAILED, "TLS handshake failed"));
            return;
        case Status::WEBSOCKET_HANDSHAKE_FAILED:
            outcome->offer(ErrorObject(ErrorCodeEnum::FAILED_TO_ESTABLISH_WEBSOCKET_CONNECTION,
                                       "failed to establish a websocket connection"));
            return;
        case Status::HTTP_UNAUTHORIZED:
            outcome->offer(ErrorObject(ErrorCodeEnum::UNAUTHORIZED, "unauthorized"));
            return;
        case Status::HTTP_CONFLICT:
            outcome->offer(ErrorObject(ErrorCodeEnum::PROTOCOL_VERSION_MISMATCH, "protocol version mismatch"));
            return;
        default:
            outcome->offer(ErrorObject(ErrorCodeEnum::UNKNOWN_ERR, "an unknown error occured"));
            return;
        }
    } catch (const std::exception& e) {
        outcome->offer(
            ErrorObject(ErrorCodeEnum::UNEXPECTED_EXCEPTION, "an unexpected exception occured: {0}", e.what()));
    }
}

void LinkJsonSession::disconnect()
{
    if (inheritedByFork()) {
        return;
    }
    const std::lock_guard transition(transitionMutex);
    endConnectAttempt();
    stopWatchdog();
    disposeLowLevelSession();
}

void LinkJsonSession::endConnectAttempt()
{
    std::thread attempt;
    {
        std::lock_guard lock(connectThreadMutex);
        attempt = std::move(connectThread);
    }
    if (!attempt.joinable()) {
        return;
    }
    // An attempt still running is stopped rather than waited out (the
    // WebSocket upgrade alone may take 30 s); it then reports a failure.
    if (connectInProgress && llSession) {
        llSession->disconnect();
    }
    attempt.join();
}

void LinkJsonSession::disposeLowLevelSession()
{
    if (!llSession) {
        return;
    }
    connectionEstablished = false;
    llSession->disconnect();
    AbstractLinkLlSession* disposed = nullptr;
    {
        std::lock_guard lock(llSessionMutex);
        disposed = std::exchange(llSession, nullptr);
    }
    factory->deleteSession(disposed);
    std::lock_guard lock(protocolVersionMutex);
    cachedProtocolVersion.reset();
}

void LinkJsonSession::startWatchdog()
{
    if (inheritedByFork()) {
        return;
    }
    std::lock_guard lock(watchdogMutex);
    if (watchdogThread) {
        return;
    }
    // A session connected again after its watchdog ended needs its context
    // running again.
    ioContext->restart();
    workGuard = std::make_unique<boost::asio::executor_work_guard<boost::asio::io_context::executor_type>>(
        ioContext->get_executor());
    timeouts->open();
    watchdogThread = std::make_unique<std::thread>([this] {
        SessionCallbackScope scope(this);
        ioContext->run();
    });
}

void LinkJsonSession::stopWatchdog()
{
    if (inheritedByFork()) {
        return;
    }
    {
        std::lock_guard lock(watchdogMutex);
        if (!watchdogThread) {
            return;
        }
        timeouts->close();
    }
    workGuard.reset();
    watchdogThread->join();
    watchdogThread.reset();
}

void LinkJsonSession::installStatusLambda()
{
    // disposeLowLevelSession may delete the session on another thread.
    const std::lock_guard lock(llSessionMutex);
    if (!llSession) {
        return;
    }
    llSession->setConnectionStatusCallback(
        [this](MarlekLinkConnectionStatusEnum status) {
            SessionCallbackScope scope(this);
            updateConnectionStatus(status);
        });
}

void LinkJsonSession::updateConnectionStatus(MarlekLinkConnectionStatusEnum status)
{
    if (inheritedByFork()) {
        return;
    }
    if (status == MarlekLinkConnectionStatusEnum::DISCONNECTED) {
        cancelAllPendingOperations(CancellationReason::CONNECTION_CLOSED);
    }
    notifyStatusCallback(status);
}

void LinkJsonSession::notifyStatusCallback(MarlekLinkConnectionStatusEnum status)
{
    std::shared_ptr<const StatusCallback> callback;
    {
        std::lock_guard lock(statusCallbackMutex);
        callback = connectionStatusCallback;
    }
    if (!callback || !*callback) {
        return;
    }
    try {
        (*callback)(status);
    } catch (const std::exception& e) {
        std::cerr << "connection status callback failed: " << e.what() << std::endl;
    } catch (...) {
        std::cerr << "connection status callback failed" << std::endl;
    }
}

MarlekLinkConnectionStatusEnum LinkJsonSession::getConnectionStatus() const
{
    if (inheritedByFork()) {
        return MarlekLinkConnectionStatusEnum::DISCONNECTED;
    }
    std::lock_guard lock(llSessionMutex);
    return llSession ? llSession->getConnectionStatus() : MarlekLinkConnectionStatusEnum::DISCONNECTED;
}

void LinkJsonSession::setConnectionStatusCallback(const StatusCallback& callback)
{
    if (inheritedByFork()) {
        return;
    }
    // Copied before any lock is taken: copying may need what the callable
    // holds (a Python callable needs the interpreter's lock).
    const std::shared_ptr<const StatusCallback> replaced =
        exchangeConnectionStatusCallback(callback ? std::make_shared<const StatusCallback>(callback) : nullptr);
    installStatusLambda();
}

std::shared_ptr<const LinkJsonSession::StatusCallback>
LinkJsonSession::exchangeConnectionStatusCallback(std::shared_ptr<const StatusCallback> callback)
{
    if (inheritedByFork()) {
        return callback;
    }
    std::lock_guard lock(statusCallbackMutex);
    return std::exchange(connectionStatusCallback, std::move(callback));
}

void LinkJsonSession::setRequestTimeout(std::chrono::milliseconds timeout)
{
    // Zero and below already end a request at once.
    requestTimeout = std::clamp(timeout, std::chrono::milliseconds::zero(), longestRequestTimeout);
}

void LinkJsonSession::setConnectionTimeout(std::chrono::milliseconds timeout)
{
    connectionTimeout = timeout;
}

bool LinkJsonSession::inSessionCallback()
{
    return sessionCallbackDepth > 0;
}

std::optional<ErrorObject> LinkJsonSession::answerCannotArrive() const
{
    if (sessionOfThisThread != this) {
        return std::nullopt;
    }
    return ErrorObject(ErrorCodeEnum::UNEXPECTED_EXCEPTION, "an unexpected exception occured: {0}",
                       "a callback cannot wait for an answer of its own session: the answer would arrive on the "
                       "thread that runs the callback");
}

bool LinkJsonSession::isIpAddress(const std::string& host)
{
    unsigned char address[16];
    return inet_pton(AF_INET, host.c_str(), address) == 1 || inet_pton(AF_INET6, host.c_str(), address) == 1;
}
