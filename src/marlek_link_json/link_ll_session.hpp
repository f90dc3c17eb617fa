#pragma once

#include "marlek_link_json/abstract_link_ll_session.hpp"
#include "marlek_link_json/link_ll_session_timing.hpp"
#include "marlek_link_json/name_resolution.hpp"

#include <boost/asio/any_io_executor.hpp>
#include <boost/asio/awaitable.hpp>
#include <boost/asio/cancellation_signal.hpp>
#include <boost/asio/experimental/concurrent_channel.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/beast/core/basic_stream.hpp>
#include <boost/beast/core/rate_policy.hpp>
#include <boost/beast/websocket/stream.hpp>

#include <atomic>
#include <future>
#include <memory>
#include <mutex>
#include <thread>

class LinkLlSslImpl;

using LinkLlPlainStream = boost::beast::basic_stream<boost::asio::ip::tcp, boost::asio::any_io_executor,
                                                     boost::beast::unlimited_rate_policy>;

// Hands the connect outcome to the caller exactly once. Abandoned before an
// outcome (the worker stopped while connecting) it reports CONNECT_FAILED, so
// the caller never sees a broken promise.
class ConnectOutcome {
public:
    explicit ConnectOutcome(std::promise<MarlekLinkServiceStatusEnum>&& promise);
    ConnectOutcome(ConnectOutcome&& other) noexcept;
    ConnectOutcome& operator=(ConnectOutcome&&) = delete;
    ~ConnectOutcome();

    void set(MarlekLinkServiceStatusEnum outcome);
    bool isSet() const { return delivered; }

private:
    std::promise<MarlekLinkServiceStatusEnum> promise;
    bool delivered = false;
};

// One WebSocket connection over Stream (plain TCP or TLS over TCP). All I/O,
// both receive handlers and the status callback run on the one worker thread.
template <typename Stream>
class LinkLlSession : public AbstractLinkLlSession {
public:
    using WebSocket = boost::beast::websocket::stream<Stream>;

    LinkLlSession(std::string_view host, std::string_view port, unsigned flags, std::string_view user,
                  std::string_view password);
    ~LinkLlSession() override;

    std::future<MarlekLinkServiceStatusEnum> asyncConnect() override;
    MarlekLinkServiceStatusEnum connect() override;
    void disconnect() override;
    bool send(const std::string& message) override;
    void setReceiveHandler(const std::function<void(std::string&&)>& handler) override;
    void setReceiveBinaryHandler(const std::function<void(std::string&&)>& handler) override;
    MarlekLinkConnectionStatusEnum getConnectionStatus() const override;
    void setConnectionStatusCallback(
        const std::function<void(MarlekLinkConnectionStatusEnum)>& callback) override;
    AbstractLinkLlSslImpl* getSsl() override;

    virtual boost::asio::awaitable<void> openConnection(ConnectOutcome outcome);

private:
    using SendQueue =
        boost::asio::experimental::concurrent_channel<void(boost::system::error_code, std::string)>;

    static constexpr std::size_t sendQueueCapacity = 1024;
    static constexpr int silentWaitsBeforePing = 5;

    static std::unique_ptr<LinkLlSslImpl> makeSslImpl(unsigned& flags);
    std::unique_ptr<WebSocket> createWebsocket();
    bool setupTlsStuff();
    boost::asio::awaitable<boost::system::error_code> asyncTlsHandshake();

    boost::asio::awaitable<MarlekLinkServiceStatusEnum> runConnectSequence();
    boost::asio::awaitable<void> websocketService();
    boost::asio::awaitable<void> receiveService();
    boost::asio::awaitable<void> sendService();
    boost::asio::awaitable<void> heartBeatService();
    void startPing();
    void waitForWorker();
    void cutConnection();

    void updateConnectionStatus(MarlekLinkConnectionStatusEnum status);
    void closeSendQueue();
    void closeStream();

    std::unique_ptr<std::thread> workerThread;
    std::future<void> workerFinished;
    std::unique_ptr<boost::asio::steady_timer> heartbeatTimer;
    std::unique_ptr<boost::asio::cancellation_signal> readCancellation;
    std::unique_ptr<boost::asio::cancellation_signal> closeCancellation;
    std::unique_ptr<boost::asio::io_context> ioContext;
    std::mutex sendQueueMutex; // guards the pointer, not the thread-safe queue
    std::unique_ptr<SendQueue> sendQueue;
    std::unique_ptr<LinkLlSslImpl> ssl;
    std::unique_ptr<NameResolution> resolution;
    std::unique_ptr<WebSocket> websocket;
    std::function<void(std::string&&)> receiveHandler;
    std::function<void(std::string&&)> receiveBinaryHandler;
    std::atomic<MarlekLinkConnectionStatusEnum> connectionStatus{MarlekLinkConnectionStatusEnum::DISCONNECTED};
    mutable std::mutex statusCallbackMutex;
    std::function<void(MarlekLinkConnectionStatusEnum)> statusCallback;
    std::string websocketTarget = "/default";
    int heartbeatCounter = 0;

    // Worker-thread state of the running connection.
    LinkLlSessionTiming timing;
    bool stopping = false;       // disconnect asked the heartbeat to end
    bool receiveEnded = false;   // the receive loop has returned
    bool pingInFlight = false;   // a ping is being written
    bool awaitingAnswer = false; // the last ping saw neither a pong nor a message yet
};

extern template class LinkLlSession<LinkLlPlainStream>;
using LinkLlSessionPlain = LinkLlSession<LinkLlPlainStream>;
