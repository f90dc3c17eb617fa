#pragma once

// A minimal WebSocket peer on 127.0.0.1 for the benchmarks: synchronous
// Boost.Beast, one thread per connection, answering each text request by
// its request id with as little work as it can do, so that what the
// benchmarks measure is the client. A "download" request is answered with
// the reply and then the configured binary content.

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace bench {

class LoopbackServer {
public:
    // Listens at once on an ephemeral port.
    explicit LoopbackServer(std::string downloadContent = {});
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    unsigned short port() const { return listeningPort; }

    // Accepts and serves connections on threads of this process until the
    // server is destroyed.
    void start();
    // Accepts and serves on the calling thread until the first connection
    // ends (for a server living in a child process).
    void serveOneConnection();

private:
    void serve(boost::asio::ip::tcp::socket socket);

    std::string content;
    boost::asio::io_context context;
    boost::asio::ip::tcp::acceptor acceptor;
    unsigned short listeningPort = 0;
    std::atomic<bool> stopping{false};
    std::thread acceptThread;
    std::vector<std::thread> connectionThreads;
};

// The request id of a request text, found by scanning rather than parsing.
std::string requestIdOf(const std::string& request);

// The reply the loopback server gives to a status query.
std::string statusReply(const std::string& requestId);

} // namespace bench
