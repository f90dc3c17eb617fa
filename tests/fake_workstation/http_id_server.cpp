#include "fake_workstation/http_id_server.hpp"

#include <boost/asio/as_tuple.hpp>
#include <boost/asio/co_spawn.hpp>
#include <boost/asio/detached.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/read_until.hpp>
#include <boost/asio/streambuf.hpp>
#include <boost/asio/use_awaitable.hpp>
#include <boost/asio/write.hpp>
#include <boost/json.hpp>

#include <condition_variable>
#include <list>
#include <mutex>
#include <string_view>
#include <thread>

namespace fake_workstation {

namespace asio = boost::asio;
using asio::ip::tcp;

namespace {

constexpr auto noThrow = asio::as_tuple(asio::use_awaitable);

HttpRequestRecord parseRequestHead(std::string_view head)
{
    HttpRequestRecord record;
    bool first = true;
    while (!head.empty()) {
        const auto end = head.find("\r\n");
        const auto line = head.substr(0, end);
        head.remove_prefix(end == std::string_view::npos ? head.size() : end + 2);
        if (first) {
            record.requestLine = std::string(line);
            first = false;
            continue;
        }
        if (line.empty()) {
            break;
        }
        const auto colon = line.find(':');
        auto value = colon == std::string_view::npos ? std::string_view() : line.substr(colon + 1);
        while (!value.empty() && value.front() == ' ') {
            value.remove_prefix(1);
        }
        record.headers.emplace_back(std::string(line.substr(0, colon)), std::string(value));
    }
    return record;
}

std::string responseText(const HttpIdServerOptions& options)
{
    switch (options.behaviour) {
    case HttpIdBehaviour::ANSWER:
        return "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: "
               + std::to_string(options.body.size()) + "\r\nConnection: close\r\n\r\n" + options.body;
    case HttpIdBehaviour::NOT_FOUND:
        return "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
    case HttpIdBehaviour::NO_REASON_PHRASE:
        return "HTTP/1.1 " + std::to_string(options.status) + " \r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
    default:
        return {};
    }
}

} // namespace

struct HttpIdServer::Impl {
    HttpIdServerOptions options;
    asio::io_context context;
    tcp::acceptor acceptor{context};
    std::uint16_t boundPort = 0;
    // Connections held open by NEVER_ANSWER until the server ends.
    std::list<tcp::socket> silent;

    mutable std::mutex mutex;
    mutable std::condition_variable arrived;
    std::vector<HttpRequestRecord> requests;
    std::size_t accepted = 0;

    std::thread thread;

    explicit Impl(HttpIdServerOptions serverOptions)
        : options(std::move(serverOptions))
    {
        if (options.body.empty()) {
            options.body = defaultIdBody();
        }
        const tcp::endpoint endpoint(asio::ip::make_address(options.listenAddress), 0);
        acceptor.open(endpoint.protocol());
        acceptor.set_option(asio::socket_base::reuse_address(true));
        acceptor.bind(endpoint);
        acceptor.listen();
        boundPort = acceptor.local_endpoint().port();
        asio::co_spawn(context, acceptLoop(), asio::detached);
        thread = std::thread([this] { context.run(); });
    }

    ~Impl()
    {
        // Stopping rather than draining: a client may still hold a
        // connection open that no handler would ever finish.
        context.stop();
        thread.join();
    }

    asio::awaitable<void> acceptLoop()
    {
        while (acceptor.is_open()) {
            auto [ec, socket] = co_await acceptor.async_accept(noThrow);
            if (ec) {
                if (ec == asio::error::operation_aborted || !acceptor.is_open()) {
                    co_return;
                }
                continue;
            }
            {
                std::lock_guard lock(mutex);
                ++accepted;
            }
            arrived.notify_all();
            asio::co_spawn(context, serve(std::move(socket)), asio::detached);
        }
    }

    asio::awaitable<void> serve(tcp::socket socket)
    {
        boost::system::error_code ignored;
        if (options.behaviour == HttpIdBehaviour::CLOSE_AT_ONCE) {
            socket.close(ignored);
            co_return;
        }
        asio::streambuf buffer;
        const auto [ec, size] = co_await asio::async_read_until(socket, buffer, "\r\n\r\n", noThrow);
        if (ec) {
            co_return;
        }
        const std::string head(asio::buffers_begin(buffer.data()),
                               asio::buffers_begin(buffer.data()) + static_cast<std::ptrdiff_t>(size));
        {
            std::lock_guard lock(mutex);
            requests.push_back(parseRequestHead(head));
        }
        arrived.notify_all();
        if (options.behaviour == HttpIdBehaviour::NEVER_ANSWER) {
            silent.push_back(std::move(socket));
            co_return;
        }
        const std::string response = responseText(options);
        co_await asio::async_write(socket, asio::buffer(response), noThrow);
        socket.shutdown(tcp::socket::shutdown_send, ignored);
        socket.close(ignored);
    }
};

HttpIdServer::HttpIdServer(HttpIdServerOptions options)
    : impl(std::make_unique<Impl>(std::move(options)))
{
}

HttpIdServer::~HttpIdServer() = default;

std::uint16_t HttpIdServer::port() const
{
    return impl->boundPort;
}

std::vector<HttpRequestRecord> HttpIdServer::requests() const
{
    std::lock_guard lock(impl->mutex);
    return impl->requests;
}

std::size_t HttpIdServer::acceptedConnections() const
{
    std::lock_guard lock(impl->mutex);
    return impl->accepted;
}

bool HttpIdServer::waitForRequests(std::size_t count, std::chrono::milliseconds timeout) const
{
    std::unique_lock lock(impl->mutex);
    return impl->arrived.wait_for(lock, timeout, [&] { return impl->requests.size() >= count; });
}

std::string HttpIdServer::defaultIdBody()
{
    return boost::json::serialize(boost::json::object{
        {"status", "SUCCESS"},
        {"workstation",
         {
             {"protocol_version", 12},
             {"serial_number", "SN-1"},
             {"model_name", "M"},
             {"firmware_version", "1.0"},
             {"firmware_build_id", "b"},
             {"cpu_card_uuid", "u"},
             {"system_mac", "00:11:22:33:44:55"},
             {"system_name", "ws"},
             {"mode", "NORMAL"},
         }},
    });
}

} // namespace fake_workstation
