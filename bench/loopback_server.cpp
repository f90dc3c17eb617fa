#include "loopback_server.hpp"

#include <boost/asio/buffer.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/core/buffers_to_string.hpp>
#include <boost/beast/websocket.hpp>

#include <utility>

namespace bench {

namespace websocket = boost::beast::websocket;
using boost::asio::ip::tcp;

std::string requestIdOf(const std::string& request)
{
    static const std::string key = "\"request_id\":\"";
    const auto start = request.find(key);
    if (start == std::string::npos) {
        return {};
    }
    const auto first = start + key.size();
    return request.substr(first, request.find('"', first) - first);
}

std::string statusReply(const std::string& requestId)
{
    return R"({"type":"REPLY","request_id":")" + requestId
           + R"(","status":"SUCCESS","workstation_status":{"busy":false,"uptime":1234,"last_dc_calibration":"never"}})";
}

LoopbackServer::LoopbackServer(std::string downloadContent)
    : content(std::move(downloadContent)),
      acceptor(context, tcp::endpoint(boost::asio::ip::make_address("127.0.0.1"), 0))
{
    listeningPort = acceptor.local_endpoint().port();
}

LoopbackServer::~LoopbackServer()
{
    if (acceptThread.joinable()) {
        // A blocking accept does not notice its acceptor closing: a last
        // connection wakes it.
        stopping = true;
        tcp::socket wake(context);
        boost::system::error_code ignored;
        wake.connect(acceptor.local_endpoint(), ignored);
        acceptThread.join();
    }
    for (auto& thread : connectionThreads) {
        thread.join();
    }
}

void LoopbackServer::start()
{
    acceptThread = std::thread([this] {
        for (;;) {
            boost::system::error_code error;
            tcp::socket socket = acceptor.accept(error);
            if (error || stopping) {
                return;
            }
            connectionThreads.emplace_back([this, socket = std::move(socket)]() mutable { serve(std::move(socket)); });
        }
    });
}

void LoopbackServer::serveOneConnection()
{
    serve(acceptor.accept());
}

void LoopbackServer::serve(tcp::socket socket)
{
    socket.set_option(tcp::no_delay(true));
    websocket::stream<tcp::socket> stream(std::move(socket));
    boost::system::error_code error;
    stream.read_message_max(0);
    stream.accept(error);
    boost::beast::flat_buffer buffer;
    while (!error) {
        stream.read(buffer, error);
        if (error) {
            break;
        }
        const std::string request = boost::beast::buffers_to_string(buffer.data());
        buffer.consume(buffer.size());
        const std::string id = requestIdOf(request);
        stream.text(true);
        if (request.find("/download\"") != std::string::npos) {
            stream.write(boost::asio::buffer(R"({"type":"REPLY","request_id":")" + id + R"(","status":"SUCCESS"})"),
                         error);
            stream.binary(true);
            stream.write(boost::asio::buffer(content), error);
        } else {
            stream.write(boost::asio::buffer(statusReply(id)), error);
        }
    }
}

} // namespace bench
