#include "support/closed_port.hpp"

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>

std::string closedPort()
{
    boost::asio::io_context context;
    boost::asio::ip::tcp::acceptor acceptor(
        context, boost::asio::ip::tcp::endpoint(boost::asio::ip::make_address_v4("127.0.0.1"), 0));
    return std::to_string(acceptor.local_endpoint().port());
}
