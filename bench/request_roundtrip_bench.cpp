// Status query round trip: the library's getWorkstationStatus against a bare
// synchronous Beast client sending the same request text to the same
// loopback server and parsing the same reply.

#include "loopback_server.hpp"
#include "side_by_side.hpp"

#include "marlek_link_json/link_json_session.hpp"

#include <boost/asio/connect.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/core/buffers_to_string.hpp>
#include <boost/beast/websocket.hpp>
#include <boost/json.hpp>
#include <boost/uuid/random_generator.hpp>
#include <boost/uuid/uuid_io.hpp>

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr int requestsPerBatch = 2000;
constexpr int rounds = 15;

class BareClient {
public:
    explicit BareClient(unsigned short port) : stream(context)
    {
        boost::asio::ip::tcp::resolver resolver(context);
        boost::asio::connect(stream.next_layer(), resolver.resolve("127.0.0.1", std::to_string(port)));
        stream.next_layer().set_option(boost::asio::ip::tcp::no_delay(true));
        stream.handshake("127.0.0.1:" + std::to_string(port), "/default");
        stream.text(true);
    }

    bool status()
    {
        const std::string request =
            R"({"do":"/status","request_id":")" + boost::uuids::to_string(generator()) + R"("})";
        stream.write(boost::asio::buffer(request));
        buffer.clear();
        stream.read(buffer);
        const boost::json::value reply = boost::json::parse(boost::beast::buffers_to_string(buffer.data()));
        return reply.at("status") == "SUCCESS";
    }

private:
    boost::asio::io_context context;
    boost::beast::websocket::stream<boost::asio::ip::tcp::socket> stream;
    boost::beast::flat_buffer buffer;
    boost::uuids::random_generator generator;
};

// Voluntary context switches of every thread of this process so far: each
// one is a thread going to sleep to be woken again.
long sleepsSoFar()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_nvcsw;
}

template <typename Request>
double sleepsPerRequest(Request&& request)
{
    const long before = sleepsSoFar();
    for (int i = 0; i < requestsPerBatch; ++i) {
        request();
    }
    return static_cast<double>(sleepsSoFar() - before) / requestsPerBatch;
}

} // namespace

int main()
{
    bench::LoopbackServer server;
    server.start();
    const std::string port = std::to_string(server.port());

    LinkJsonSession session("127.0.0.1", port, 0, "", "");
    if (session.connect().getErrorCodeEnum() != ErrorCodeEnum::NONE) {
        std::fprintf(stderr, "the library could not connect to the loopback server\n");
        return 1;
    }
    BareClient bare(server.port());

    bench::compare(
        "status query round trip (" + std::to_string(requestsPerBatch) + " requests per batch, microseconds each)",
        {"library getWorkstationStatus",
         [&] {
             for (int i = 0; i < requestsPerBatch; ++i) {
                 if (!session.getWorkstationStatus()) {
                     std::abort();
                 }
             }
         }},
        {"bare Beast synchronous client",
         [&] {
             for (int i = 0; i < requestsPerBatch; ++i) {
                 if (!bare.status()) {
                     std::abort();
                 }
             }
         }},
        rounds, [](double seconds) { return seconds * 1e6 / requestsPerBatch; }, "us");

    std::printf("thread sleeps per request, whole process with the server's thread (the server's share: 1)\n");
    std::printf("  library %.2f, bare client %.2f\n", sleepsPerRequest([&] { (void)session.getWorkstationStatus(); }),
                sleepsPerRequest([&] { (void)bare.status(); }));

    session.disconnect();
    return 0;
}
