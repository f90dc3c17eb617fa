#pragma once

// Member definitions of LinkLlSession, included only by the two files that
// instantiate it (plain and TLS).

#include "marlek_link_json/clock_deadline.hpp"
#include "marlek_link_json/host_header.hpp"
#include "marlek_link_json/link_ll_session.hpp"
#include "marlek_link_json/link_ll_session_flags.hpp"
#include "marlek_link_json/link_ll_ssl_impl.hpp"

#include <boost/asio/as_tuple.hpp>
#include <boost/asio/bind_cancellation_slot.hpp>
#include <boost/asio/buffer.hpp>
#include <boost/asio/co_spawn.hpp>
#include <boost/asio/detached.hpp>
#include <boost/asio/experimental/awaitable_operators.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/use_awaitable.hpp>
#include <boost/beast/http/field.hpp>
#include <boost/beast/websocket/rfc6455.hpp>

#include <iostream>
#include <string>

namespace link_ll_detail {

inline constexpr auto awaitTuple = boost::asio::as_tuple(boost::asio::use_awaitable);

} // namespace link_ll_detail

template <typename Stream>
LinkLlSession<Stream>::LinkLlSession(std::string_view host, std::string_view port, unsigned flags,
                                     std::string_view user, std::string_view password)
    : AbstractLinkLlSession(host, port, flags, makeWwwAuthHeader(user, password)),
      ssl(makeSslImpl(this->flags)),
      timing(LinkLlSessionTiming::current())
{
}

template <typename Stream>
LinkLlSession<Stream>::~LinkLlSession()
{
    // The owner disconnects first; this only keeps a forgotten disconnect from
    // destroying a running worker.
    disconnect();
}

template <typename Stream>
std::unique_ptr<LinkLlSslImpl> LinkLlSession<Stream>::makeSslImpl(unsigned&)
{
    return nullptr;
}

template <typename Stream>
AbstractLinkLlSslImpl* LinkLlSession<Stream>::getSsl()
{
    return ssl.get();
}

// The owner installs the receive handlers before connecting, while no
// worker runs; the replaced handler goes at the end.
template <typename Stream>
void LinkLlSession<Stream>::setReceiveHandler(const std::function<void(std::string&&)>& handler)
{
    const auto replaced = std::exchange(receiveHandler, handler);
}

template <typename Stream>
void LinkLlSession<Stream>::setReceiveBinaryHandler(const std::function<void(std::string&&)>& handler)
{
    const auto replaced = std::exchange(receiveBinaryHandler, handler);
}

template <typename Stream>
MarlekLinkConnectionStatusEnum LinkLlSession<Stream>::getConnectionStatus() const
{
    return connectionStatus.load();
}

template <typename Stream>
void LinkLlSession<Stream>::setConnectionStatusCallback(
    const std::function<void(MarlekLinkConnectionStatusEnum)>& callback)
{
    std::function<void(MarlekLinkConnectionStatusEnum)> replaced; // let go of outside the lock
    std::lock_guard lock(statusCallbackMutex);
    replaced = std::exchange(statusCallback, callback);
}

template <typename Stream>
void LinkLlSession<Stream>::updateConnectionStatus(MarlekLinkConnectionStatusEnum status)
{
    connectionStatus.store(status);
    std::function<void(MarlekLinkConnectionStatusEnum)> callback;
    {
        std::lock_guard lock(statusCallbackMutex);
        callback = statusCallback;
    }
    if (callback) {
        callback(status);
    }
}

template <typename Stream>
std::future<MarlekLinkServiceStatusEnum> LinkLlSession<Stream>::asyncConnect()
{
    std::promise<MarlekLinkServiceStatusEnum> promise;
    auto future = promise.get_future();
    if (workerThread) {
        promise.set_value(MarlekLinkServiceStatusEnum::ALREADY_STARTED);
        return future;
    }
    ioContext = std::make_unique<boost::asio::io_context>(1);
    heartbeatTimer = std::make_unique<boost::asio::steady_timer>(*ioContext);
    readCancellation = std::make_unique<boost::asio::cancellation_signal>();
    closeCancellation = std::make_unique<boost::asio::cancellation_signal>();
    {
        std::lock_guard lock(sendQueueMutex);
        sendQueue = std::make_unique<SendQueue>(*ioContext, sendQueueCapacity);
    }
    stopping = false;
    receiveEnded = false;
    pingInFlight = false;
    awaitingAnswer = false;

    boost::asio::co_spawn(*ioContext, openConnection(ConnectOutcome(std::move(promise))),
                          boost::asio::detached);
    std::promise<void> finished;
    workerFinished = finished.get_future();
    workerThread = std::make_unique<std::thread>([context = ioContext.get(), finished = std::move(finished)]() mutable {
        context->run();
        finished.set_value();
    });
    return future;
}

template <typename Stream>
MarlekLinkServiceStatusEnum LinkLlSession<Stream>::connect()
{
    return asyncConnect().get();
}

template <typename Stream>
boost::asio::awaitable<void> LinkLlSession<Stream>::openConnection(ConnectOutcome outcome)
{
    MarlekLinkServiceStatusEnum result = co_await runConnectSequence();
    if (result != MarlekLinkServiceStatusEnum::OK) {
        outcome.set(result);
        co_return;
    }
    websocket->read_message_max(2147483647);
    websocket->text(true);
    websocket->control_callback([this](boost::beast::websocket::frame_type kind, boost::beast::string_view) {
        if (kind == boost::beast::websocket::frame_type::pong) {
            awaitingAnswer = false;
        }
    });
    boost::asio::co_spawn(*ioContext, websocketService(), boost::asio::detached);
    // The status reads CONNECTED before the caller can learn of the outcome.
    connectionStatus.store(MarlekLinkConnectionStatusEnum::CONNECTED);
    outcome.set(MarlekLinkServiceStatusEnum::OK);
    updateConnectionStatus(MarlekLinkConnectionStatusEnum::CONNECTED);
}

template <typename Stream>
boost::asio::awaitable<MarlekLinkServiceStatusEnum> LinkLlSession<Stream>::runConnectSequence()
{
    using link_ll_detail::awaitTuple;
    using Status = MarlekLinkServiceStatusEnum;
    namespace websocket_ns = boost::beast::websocket;

    // Kept in the session rather than here, so that disconnect can let go of
    // a resolution still running before the I/O context goes.
    resolution = std::make_unique<NameResolution>(ioContext->get_executor(), host, port);
    const std::optional<NameResolution::Answer> resolved = co_await resolution->answer(deadlineFromNow(connectionTimeout));
    resolution.reset();
    if (!resolved || resolved->error) {
        co_return Status::RESOLVE_FAILED;
    }

    try {
        websocket = createWebsocket();
    } catch (const std::exception&) {
        // Only the TLS stream's configuration can throw here.
        co_return Status::TLS_SETUP_FAILED;
    }
    auto& tcpLayer = boost::beast::get_lowest_layer(*websocket);

    tcpLayer.expires_at(deadlineFromNow(connectionTimeout));
    auto [connectError, endpoint] = co_await tcpLayer.async_connect(resolved->results, awaitTuple);
    tcpLayer.expires_never();
    if (connectError) {
        tcpLayer.close();
        co_return Status::CONNECT_FAILED;
    }

    bool tlsReady = false;
    try {
        tlsReady = setupTlsStuff();
    } catch (const std::exception&) {
    }
    if (!tlsReady) {
        co_return Status::TLS_SETUP_FAILED;
    }

    const std::string hostText = hostHeaderText(host) + ":" + std::to_string(endpoint.port());
    websocket->set_option(websocket_ns::stream_base::decorator(
        [userAgent = std::string("marlek_link_lib"),
         announceVersion = (flags & MarlekLinkConnectionFlags::IGNORE_PROTOCOL_MISMATCH) == 0,
         authorization = authorizationHeader](websocket_ns::request_type& request) {
            request.set(boost::beast::http::field::user_agent, userAgent);
            if (announceVersion) {
                request.set("M-Supported-Protocol-Version", "12");
            }
            if (!authorization.empty()) {
                request.set(boost::beast::http::field::authorization, authorization);
            }
        }));

    if (const boost::system::error_code tlsError = co_await asyncTlsHandshake()) {
        std::cerr << "SSL/TLS handshake failed: " << tlsError.message() << std::endl;
        co_return Status::TLS_HANDSHAKE_FAILED;
    }

    tcpLayer.expires_never();
    websocket->set_option(websocket_ns::stream_base::timeout{
        timing.websocketHandshakeTimeout, websocket_ns::stream_base::none(), false});

    websocket_ns::response_type response;
    auto [handshakeError] = co_await websocket->async_handshake(response, hostText, websocketTarget, awaitTuple);
    if (handshakeError) {
        Status failure = Status::WEBSOCKET_HANDSHAKE_FAILED;
        if (response.result_int() == 401) {
            failure = Status::HTTP_UNAUTHORIZED;
        } else if (response.result_int() == 409) {
            failure = Status::HTTP_CONFLICT;
        }
        co_await websocket->async_close(websocket_ns::close_reason(websocket_ns::close_code::protocol_error),
                                        awaitTuple);
        co_return failure;
    }
    co_return Status::OK;
}

template <typename Stream>
std::unique_ptr<typename LinkLlSession<Stream>::WebSocket> LinkLlSession<Stream>::createWebsocket()
{
    return std::make_unique<WebSocket>(*ioContext);
}

template <typename Stream>
bool LinkLlSession<Stream>::setupTlsStuff()
{
    return true;
}

template <typename Stream>
boost::asio::awaitable<boost::system::error_code> LinkLlSession<Stream>::asyncTlsHandshake()
{
    co_return boost::system::error_code{};
}

template <typename Stream>
boost::asio::awaitable<void> LinkLlSession<Stream>::websocketService()
{
    using namespace boost::asio::experimental::awaitable_operators;
    try {
        co_await ((receiveService() && sendService()) && heartBeatService());
    } catch (const std::exception&) {
        // A loop that ends by an exception must still end the connection and
        // have it reported, or waiting callers would never hear of it.
        closeSendQueue();
        closeStream();
    }
    updateConnectionStatus(MarlekLinkConnectionStatusEnum::DISCONNECTED);
}

template <typename Stream>
boost::asio::awaitable<void> LinkLlSession<Stream>::receiveService()
{
    using link_ll_detail::awaitTuple;
    for (;;) {
        // Each message is read into a string of its own that the handler
        // takes over: it is not copied, and no buffer keeps the size of the
        // largest download for the rest of the connection.
        std::string message;
        auto buffer = boost::asio::dynamic_buffer(message);
        auto [error, size] = co_await websocket->async_read(
            buffer, boost::asio::bind_cancellation_slot(readCancellation->slot(), awaitTuple));
        (void)size;
        if (error) {
            break;
        }
        heartbeatCounter = 0;
        awaitingAnswer = false;

        auto& handler = websocket->got_binary() ? receiveBinaryHandler : receiveHandler;
        bool handled = false;
        if (handler) {
            try {
                handler(std::move(message));
                handled = true;
            } catch (...) {
            }
        }
        // A message nobody could take is treated like a failed read: the
        // connection ends and is reported, rather than going on with a gap.
        if (!handled) {
            break;
        }
    }
    receiveEnded = true;
    closeSendQueue();
    // The loss is reported once all three loops have ended; left to its next
    // wake-up, the heartbeat would hold that report back by up to a whole
    // wait, while the session looks connected and refuses every request.
    heartbeatTimer->cancel();
}

template <typename Stream>
boost::asio::awaitable<void> LinkLlSession<Stream>::sendService()
{
    using link_ll_detail::awaitTuple;
    namespace websocket_ns = boost::beast::websocket;
    while (websocket->is_open()) {
        auto [queueError, message] = co_await sendQueue->async_receive(awaitTuple);
        if (queueError) {
            // With a control callback installed, a read that finds a control
            // frame already buffered pauses once while holding the read side.
            // If the close frame goes out in that pause, the close waits for
            // the read side while the read, holding it, has taken the peer's
            // answer and waits for the write side: neither ever completes.
            // Pongs no longer matter once closing, so the callback goes first.
            websocket->control_callback();
            co_await websocket->async_close(websocket_ns::close_reason(websocket_ns::close_code::normal),
                                            boost::asio::bind_cancellation_slot(closeCancellation->slot(), awaitTuple));
            co_return;
        }
        heartbeatCounter = 0;
        auto [writeError, written] = co_await websocket->async_write(boost::asio::buffer(message), awaitTuple);
        (void)written;
        if (writeError) {
            // Nothing queued after this could ever be written: refuse it, and
            // end the connection so that everything pending fails at once.
            closeSendQueue();
            closeStream();
            co_return;
        }
    }
    closeSendQueue();
}

template <typename Stream>
boost::asio::awaitable<void> LinkLlSession<Stream>::heartBeatService()
{
    using link_ll_detail::awaitTuple;
    heartbeatCounter = 0;
    while (websocket->is_open() && !receiveEnded && !stopping) {
        heartbeatTimer->expires_after(timing.heartbeatWait);
        auto [error] = co_await heartbeatTimer->async_wait(awaitTuple);
        if (error || stopping) {
            co_return;
        }
        if (heartbeatCounter++ < silentWaitsBeforePing) {
            continue;
        }
        heartbeatCounter = 0;
        if (awaitingAnswer) {
            // The peer answered neither the last ping nor with any message
            // within a whole ping period: it is gone without FIN or RST.
            closeSendQueue();
            closeStream();
            co_return;
        }
        startPing();
    }
}

template <typename Stream>
void LinkLlSession<Stream>::startPing()
{
    // The ping is not awaited: behind a stalled write it would hold the
    // heartbeat, which must stay free to notice a vanished peer.
    if (pingInFlight) {
        awaitingAnswer = true;
        return;
    }
    pingInFlight = true;
    awaitingAnswer = true;
    websocket->async_ping(boost::beast::websocket::ping_data("mping"),
                          [this](const boost::system::error_code& error) {
                              pingInFlight = false;
                              if (error) {
                                  closeSendQueue();
                                  stopping = true;
                                  heartbeatTimer->cancel();
                              }
                          });
}

template <typename Stream>
bool LinkLlSession<Stream>::send(const std::string& message)
{
    std::lock_guard lock(sendQueueMutex);
    return sendQueue && sendQueue->try_send(boost::system::error_code{}, message);
}

template <typename Stream>
void LinkLlSession<Stream>::closeSendQueue()
{
    sendQueue->close();
}

template <typename Stream>
void LinkLlSession<Stream>::closeStream()
{
    boost::beast::get_lowest_layer(*websocket).close();
}

template <typename Stream>
void LinkLlSession<Stream>::waitForWorker()
{
    // Queued messages the peer does not read, or operations of the WebSocket
    // layer waiting on each other, must not hold the caller beyond the
    // closing-handshake limit: after it the connection is cut so that
    // everything pending fails, and if the loops still do not end the worker
    // is stopped where it stands.
    const auto halfMargin = timing.disconnectMargin / 2;
    if (workerFinished.wait_for(timing.websocketHandshakeTimeout + halfMargin) != std::future_status::ready) {
        boost::asio::post(*ioContext, [this] { cutConnection(); });
        if (workerFinished.wait_for(halfMargin) != std::future_status::ready) {
            ioContext->stop();
        }
    }
    workerThread->join();
}

template <typename Stream>
void LinkLlSession<Stream>::cutConnection()
{
    closeSendQueue();
    if (!websocket) {
        return;
    }
    // Closing the socket fails only what waits on the socket; a read or a
    // close waiting inside the WebSocket layer for the other one is ended
    // by cancelling it.
    readCancellation->emit(boost::asio::cancellation_type::terminal);
    closeCancellation->emit(boost::asio::cancellation_type::terminal);
    closeStream();
}

template <typename Stream>
void LinkLlSession<Stream>::disconnect()
{
    if (!workerThread) {
        return;
    }
    {
        std::lock_guard lock(sendQueueMutex);
        sendQueue->close();
    }
    boost::asio::post(*ioContext, [this] {
        stopping = true;
        heartbeatTimer->cancel();
    });
    if (connectionStatus.load() == MarlekLinkConnectionStatusEnum::DISCONNECTED) {
        ioContext->stop();
    }
    waitForWorker();
    // When the worker was stopped mid-connect or past the closing-handshake
    // limit, the loops were cut short; the owner still hears of the end of
    // the connection.
    if (connectionStatus.load() == MarlekLinkConnectionStatusEnum::CONNECTED) {
        updateConnectionStatus(MarlekLinkConnectionStatusEnum::DISCONNECTED);
    }
    workerThread.reset();
    // A resolution that timed out or was stopped may still be running: it
    // finishes on its own, unobserved, instead of holding this return.
    resolution.reset();
    {
        std::lock_guard lock(sendQueueMutex);
        sendQueue.reset();
    }
    heartbeatTimer.reset();
    websocket.reset();
    ioContext.reset();
    readCancellation.reset();
    closeCancellation.reset();
}
