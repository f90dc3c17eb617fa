#include "fake_workstation/fake_workstation.hpp"

#include "marlek_json_common/json_common/text/base64.hpp"

#include <boost/asio/as_tuple.hpp>
#include <boost/asio/co_spawn.hpp>
#include <boost/asio/detached.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/ssl/context.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/asio/use_awaitable.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <boost/beast/ssl/ssl_stream.hpp>
#include <boost/beast/websocket.hpp>

#include <openssl/ssl.h>

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
namespace websocket = beast::websocket;
using tcp = asio::ip::tcp;
using namespace std::chrono_literals;

namespace {

constexpr auto awaitTuple = asio::as_tuple(asio::use_awaitable);

using PlainStream = beast::tcp_stream;
using TlsStream = beast::ssl_stream<beast::tcp_stream>;

struct SharedRecords {
    mutable std::mutex mutex;
    mutable std::condition_variable changed;
    std::vector<FakeConnectionRecord> connections;
    std::size_t accepted = 0;

    template <typename Change>
    void update(Change&& change)
    {
        {
            std::lock_guard lock(mutex);
            change(*this);
        }
        changed.notify_all();
    }
};

class ConnectionBase {
public:
    virtual ~ConnectionBase() = default;
    virtual void queueFrame(bool binary, std::string bytes) = 0;
    virtual void close(std::uint16_t code) = 0;
    virtual void drop() = 0;
    virtual void pause() = 0;
    virtual void resume() = 0;
};

// What every connection shares of its server; touched on the server thread only,
// except the records, which have their own lock.
struct ServerContext {
    asio::io_context& ioContext;
    SharedRecords& records;
    const FakeWorkstationOptions& options;
    std::vector<std::shared_ptr<ConnectionBase>>& upgraded;
    FakeRequestRouter& router;
};

std::string basicAuthorization(const FakeWorkstationOptions::Credentials& credentials)
{
    return "Basic " + base64::encode(credentials.user + ":" + credentials.password);
}

unsigned decideUpgrade(const FakeWorkstationOptions& options, const http::request<http::string_body>& request)
{
    if (options.forcedUpgradeStatus) {
        return *options.forcedUpgradeStatus;
    }
    if (request.target() != "/default") {
        return 404;
    }
    if (options.requiredCredentials) {
        const auto given = request.find(http::field::authorization);
        if (given == request.end() || given->value() != basicAuthorization(*options.requiredCredentials)) {
            return 401;
        }
    }
    const auto version = request.find("M-Supported-Protocol-Version");
    if (version != request.end() && version->value() != "12") {
        return 409;
    }
    if (!websocket::is_upgrade(request)) {
        return 400;
    }
    return 101;
}

template <typename Stream>
class Connection : public ConnectionBase, public std::enable_shared_from_this<Connection<Stream>> {
public:
    static constexpr bool isTls = std::is_same_v<Stream, TlsStream>;

    template <typename... StreamArgs>
    Connection(const ServerContext& server, StreamArgs&&... streamArgs)
        : server(server), ws(std::forward<StreamArgs>(streamArgs)...), resumeTimer(server.ioContext),
          // Paused from the start rather than once the upgrade is done: a
          // resume that comes while the upgrade completes must stay in force.
          paused(server.options.pauseReadingAfterUpgrade)
    {
    }

    static asio::awaitable<void> run(std::shared_ptr<Connection> self) { co_await self->serve(); }

    void queueFrame(bool binary, std::string bytes) override
    {
        outbox.push_back({binary, std::move(bytes)});
        pumpWrites();
    }

    void close(std::uint16_t code) override
    {
        ws.async_close(websocket::close_reason(code), [self = this->shared_from_this()](auto) {});
    }

    void drop() override
    {
        dropped = true;
        beast::get_lowest_layer(ws).close();
        resumeTimer.cancel();
    }

    void pause() override { paused = true; }

    void resume() override
    {
        paused = false;
        resumeTimer.cancel();
    }

private:
    struct Frame {
        bool binary;
        std::string bytes;
    };

    asio::awaitable<void> serve()
    {
        const std::optional<std::string> serverName = co_await handshakeTls();
        if (!serverName) {
            co_return;
        }
        beast::flat_buffer buffer;
        const std::optional<http::request<http::string_body>> request = co_await readUpgradeRequest(buffer);
        if (!request) {
            co_return;
        }
        const unsigned status = recordUpgradeRequest(*request, *serverName);
        if (status != 101) {
            co_await refuseUpgrade(*request, status);
            co_return;
        }
        if (!co_await acceptUpgrade(*request)) {
            co_return;
        }
        buffer.consume(buffer.size());
        co_await readMessages(buffer);
        open = false;
        markEnded();
    }

    // The name the client asked for (empty without TLS or without the
    // extension), or nothing when the TLS handshake failed.
    asio::awaitable<std::optional<std::string>> handshakeTls()
    {
        std::string serverName;
        if constexpr (isTls) {
            auto& tcpLayer = beast::get_lowest_layer(ws);
            tcpLayer.expires_after(5s);
            auto [error] = co_await ws.next_layer().async_handshake(asio::ssl::stream_base::server, awaitTuple);
            if (error) {
                co_return std::nullopt;
            }
            if (const char* name = SSL_get_servername(ws.next_layer().native_handle(), TLSEXT_NAMETYPE_host_name)) {
                serverName = name;
            }
        }
        co_return serverName;
    }

    asio::awaitable<std::optional<http::request<http::string_body>>> readUpgradeRequest(beast::flat_buffer& buffer)
    {
        auto& tcpLayer = beast::get_lowest_layer(ws);
        tcpLayer.expires_after(10s);
        http::request<http::string_body> request;
        auto [readError, readSize] = co_await http::async_read(ws.next_layer(), buffer, request, awaitTuple);
        tcpLayer.expires_never();
        if (readError) {
            co_return std::nullopt;
        }
        co_return request;
    }

    // Records the request as a new connection; the status it is answered with.
    unsigned recordUpgradeRequest(const http::request<http::string_body>& request, const std::string& serverName)
    {
        FakeConnectionRecord record;
        record.request.method = std::string(request.method_string());
        record.request.target = std::string(request.target());
        for (const auto& field : request) {
            record.request.headers.emplace_back(std::string(field.name_string()), std::string(field.value()));
        }
        record.request.serverName = serverName;
        record.answeredStatus = decideUpgrade(server.options, request);
        server.records.update([&](SharedRecords& records) {
            index = records.connections.size();
            records.connections.push_back(record);
        });
        return record.answeredStatus;
    }

    asio::awaitable<void> refuseUpgrade(const http::request<http::string_body>& request, unsigned status)
    {
        http::response<http::string_body> response{static_cast<http::status>(status), request.version()};
        response.set(http::field::server, "fake-workstation");
        response.keep_alive(false);
        response.body() = std::string(http::obsolete_reason(response.result()));
        response.prepare_payload();
        co_await http::async_write(ws.next_layer(), response, awaitTuple);
        beast::get_lowest_layer(ws).close();
        markEnded();
    }

    // Completes the upgrade with pings recorded; false when it failed.
    asio::awaitable<bool> acceptUpgrade(const http::request<http::string_body>& request)
    {
        server.upgraded.push_back(this->shared_from_this());
        ws.set_option(websocket::stream_base::timeout{5s, websocket::stream_base::none(), false});
        ws.read_message_max(0);
        ws.control_callback([this](websocket::frame_type kind, beast::string_view payload) {
            if (kind == websocket::frame_type::ping) {
                const auto now = std::chrono::steady_clock::now();
                server.records.update([&](SharedRecords& records) {
                    records.connections[index].pings.push_back({std::string(payload), now});
                });
            }
        });
        auto [acceptError] = co_await ws.async_accept(request, awaitTuple);
        if (acceptError) {
            markEnded();
            co_return false;
        }
        open = true;
        pumpWrites();
        co_return true;
    }

    // Reads, records and answers messages until the connection ends.
    asio::awaitable<void> readMessages(beast::flat_buffer& buffer)
    {
        for (;;) {
            co_await waitWhilePaused();
            auto [error, size] = co_await ws.async_read(buffer, awaitTuple);
            if (error) {
                if (error == websocket::error::closed) {
                    const std::uint16_t code = ws.reason().code;
                    server.records.update(
                        [&](SharedRecords& records) { records.connections[index].closeCode = code; });
                }
                co_return;
            }
            FakeReceivedMessage message{ws.got_binary(), beast::buffers_to_string(buffer.data()),
                                        std::chrono::steady_clock::now()};
            buffer.consume(buffer.size());
            if (!message.binary) {
                queueAnswer(server.router.route(message.bytes));
            }
            server.records.update([&](SharedRecords& records) {
                records.connections[index].messages.push_back(std::move(message));
            });
        }
    }

    asio::awaitable<void> waitWhilePaused()
    {
        while (paused && !dropped) {
            resumeTimer.expires_at(std::chrono::steady_clock::time_point::max());
            co_await resumeTimer.async_wait(awaitTuple);
        }
    }

    void queueAnswer(std::vector<FakeOutgoingFrame> frames)
    {
        const bool scripted = std::ranges::any_of(frames, [](const FakeOutgoingFrame& frame) {
            return frame.afterPrevious || frame.action != FakeOutgoingFrame::Action::Send;
        });
        if (scripted) {
            asio::co_spawn(server.ioContext, playInOrder(this->shared_from_this(), std::move(frames)), asio::detached);
            return;
        }
        for (auto& frame : frames) {
            queueAfter(std::move(frame));
        }
    }

    // One coroutine per answer, so its steps happen in their order while the
    // connection goes on reading and answering.
    static asio::awaitable<void> playInOrder(std::shared_ptr<Connection> self, std::vector<FakeOutgoingFrame> frames)
    {
        asio::steady_timer timer(self->server.ioContext);
        const auto start = std::chrono::steady_clock::now();
        auto due = start;
        for (auto& frame : frames) {
            due = (frame.afterPrevious ? due : start) + frame.delay;
            timer.expires_at(due);
            co_await timer.async_wait(awaitTuple);
            if (frame.action == FakeOutgoingFrame::Action::Send) {
                self->queueFrame(frame.binary, std::move(frame.bytes));
                continue;
            }
            // What was sent before the end must reach the client first.
            while (self->open && (self->writing || !self->outbox.empty())) {
                timer.expires_after(2ms);
                co_await timer.async_wait(awaitTuple);
            }
            if (frame.action == FakeOutgoingFrame::Action::Drop) {
                self->drop();
            } else {
                self->close(frame.closeCode);
            }
            co_return;
        }
    }

    void queueAfter(FakeOutgoingFrame frame)
    {
        if (frame.delay.count() == 0) {
            queueFrame(frame.binary, std::move(frame.bytes));
            return;
        }
        asio::co_spawn(server.ioContext, sendLater(this->shared_from_this(), std::move(frame)), asio::detached);
    }

    static asio::awaitable<void> sendLater(std::shared_ptr<Connection> self, FakeOutgoingFrame frame)
    {
        asio::steady_timer timer(self->server.ioContext, frame.delay);
        co_await timer.async_wait(awaitTuple);
        self->queueFrame(frame.binary, std::move(frame.bytes));
    }

    void pumpWrites()
    {
        if (!open || writing || outbox.empty()) {
            return;
        }
        writing = true;
        asio::co_spawn(server.ioContext, writeAll(this->shared_from_this()), asio::detached);
    }

    static asio::awaitable<void> writeAll(std::shared_ptr<Connection> self)
    {
        while (!self->outbox.empty()) {
            Frame frame = std::move(self->outbox.front());
            self->outbox.pop_front();
            self->ws.binary(frame.binary);
            auto [error, size] = co_await self->ws.async_write(asio::buffer(frame.bytes), awaitTuple);
            if (error) {
                break;
            }
        }
        self->writing = false;
    }

    void markEnded()
    {
        server.records.update([&](SharedRecords& records) { records.connections[index].ended = true; });
    }

    ServerContext server;
    websocket::stream<Stream> ws;
    asio::steady_timer resumeTimer;
    std::size_t index = 0;
    std::deque<Frame> outbox;
    bool open = false;
    bool writing = false;
    bool paused = false;
    bool dropped = false;
};

} // namespace

std::optional<std::string> FakeUpgradeRequest::header(std::string_view name) const
{
    for (const auto& [key, value] : headers) {
        if (beast::iequals(key, name)) {
            return value;
        }
    }
    return std::nullopt;
}

class FakeWorkstation::Server {
public:
    explicit Server(FakeWorkstationOptions givenOptions)
        : options(std::move(givenOptions)),
          acceptor(ioContext, tcp::endpoint(asio::ip::make_address(options.listenAddress), 0)),
          port(acceptor.local_endpoint().port())
    {
        if (options.tls) {
            tlsContext.emplace(asio::ssl::context::tls_server);
            tlsContext->use_certificate_chain(asio::buffer(options.tls->certificatePem));
            tlsContext->use_private_key(asio::buffer(options.tls->privateKeyPem), asio::ssl::context::pem);
        }
        asio::co_spawn(ioContext, acceptLoop(), asio::detached);
        thread = std::thread([this] { ioContext.run(); });
    }

    ~Server()
    {
        ioContext.stop();
        thread.join();
        silentSockets.clear();
        upgraded.clear();
    }

    std::uint16_t portNumber() const { return port; }

    template <typename Action>
    void onLatest(Action action)
    {
        asio::post(ioContext, [this, action = std::move(action)]() mutable {
            if (!upgraded.empty()) {
                action(*upgraded.back());
            }
        });
    }

    bool waitUntil(const std::function<bool(const SharedRecords&)>& condition, std::chrono::milliseconds timeout) const
    {
        std::unique_lock lock(records.mutex);
        return records.changed.wait_for(lock, timeout, [&] { return condition(records); });
    }

    SharedRecords records;
    FakeRequestRouter router;

private:
    asio::awaitable<void> acceptLoop()
    {
        const ServerContext context{ioContext, records, options, upgraded, router};
        for (;;) {
            auto [error, socket] = co_await acceptor.async_accept(awaitTuple);
            if (error) {
                co_return;
            }
            records.update([](SharedRecords& shared) { ++shared.accepted; });
            // Without it, a small write behind one not yet acknowledged waits
            // for the client's delayed acknowledgement: some 40 ms for every
            // reply, whatever its size.
            boost::system::error_code ignored;
            socket.set_option(tcp::no_delay(true), ignored);
            if (options.acceptWithoutAnswer) {
                silentSockets.push_back(std::move(socket));
            } else if (tlsContext) {
                auto connection = std::make_shared<Connection<TlsStream>>(context, std::move(socket), *tlsContext);
                asio::co_spawn(ioContext, Connection<TlsStream>::run(connection), asio::detached);
            } else {
                auto connection = std::make_shared<Connection<PlainStream>>(context, std::move(socket));
                asio::co_spawn(ioContext, Connection<PlainStream>::run(connection), asio::detached);
            }
        }
    }

    FakeWorkstationOptions options;
    std::optional<asio::ssl::context> tlsContext;
    asio::io_context ioContext;
    tcp::acceptor acceptor;
    const std::uint16_t port; // read from the test thread while the acceptor is busy
    std::vector<std::shared_ptr<ConnectionBase>> upgraded;
    std::vector<tcp::socket> silentSockets;
    std::thread thread;
};

FakeWorkstation::FakeWorkstation(FakeWorkstationOptions options)
    : server(std::make_unique<Server>(std::move(options)))
{
}

FakeWorkstation::~FakeWorkstation() = default;

std::uint16_t FakeWorkstation::portNumber() const
{
    return server->portNumber();
}

std::string FakeWorkstation::port() const
{
    return std::to_string(portNumber());
}

std::vector<FakeConnectionRecord> FakeWorkstation::connections() const
{
    std::lock_guard lock(server->records.mutex);
    return server->records.connections;
}

std::size_t FakeWorkstation::acceptedConnectionCount() const
{
    std::lock_guard lock(server->records.mutex);
    return server->records.accepted;
}

bool FakeWorkstation::waitUntil(const std::function<bool(const std::vector<FakeConnectionRecord>&)>& condition,
                                std::chrono::milliseconds timeout) const
{
    return server->waitUntil([&](const SharedRecords& records) { return condition(records.connections); },
                             timeout);
}

bool FakeWorkstation::waitForAcceptedConnections(std::size_t count, std::chrono::milliseconds timeout) const
{
    return server->waitUntil([&](const SharedRecords& records) { return records.accepted >= count; }, timeout);
}

bool FakeWorkstation::waitForMessages(std::size_t count, std::chrono::milliseconds timeout) const
{
    return waitUntil(
        [&](const auto& connections) { return !connections.empty() && connections.back().messages.size() >= count; },
        timeout);
}

bool FakeWorkstation::waitForPings(std::size_t count, std::chrono::milliseconds timeout) const
{
    return waitUntil(
        [&](const auto& connections) { return !connections.empty() && connections.back().pings.size() >= count; },
        timeout);
}

bool FakeWorkstation::waitForConnectionEnd(std::chrono::milliseconds timeout) const
{
    return waitUntil([](const auto& connections) { return !connections.empty() && connections.back().ended; },
                     timeout);
}

FakeRequestRouter& FakeWorkstation::router()
{
    return server->router;
}

void FakeWorkstation::sendText(std::string text)
{
    server->onLatest([text = std::move(text)](ConnectionBase& connection) mutable {
        connection.queueFrame(false, std::move(text));
    });
}

void FakeWorkstation::sendBinary(std::string bytes)
{
    server->onLatest([bytes = std::move(bytes)](ConnectionBase& connection) mutable {
        connection.queueFrame(true, std::move(bytes));
    });
}

void FakeWorkstation::closeConnection(std::uint16_t code)
{
    server->onLatest([code](ConnectionBase& connection) { connection.close(code); });
}

void FakeWorkstation::dropConnection()
{
    server->onLatest([](ConnectionBase& connection) { connection.drop(); });
}

void FakeWorkstation::pauseReading()
{
    server->onLatest([](ConnectionBase& connection) { connection.pause(); });
}

void FakeWorkstation::resumeReading()
{
    server->onLatest([](ConnectionBase& connection) { connection.resume(); });
}
