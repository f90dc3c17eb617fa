#include "marlek_link_json/link_ll_session_ssl.hpp"

#include "marlek_link_json/link_ll_session_impl.hpp"

#include <boost/asio/ip/address.hpp>
#include <boost/asio/ssl/verify_context.hpp>
#include <boost/asio/ssl/verify_mode.hpp>

#include <openssl/ssl.h>

template <>
std::unique_ptr<LinkLlSslImpl> LinkLlSession<LinkLlSslStream>::makeSslImpl(unsigned& flags)
{
    return std::make_unique<LinkLlSslImpl>(flags);
}

template <>
std::unique_ptr<LinkLlSession<LinkLlSslStream>::WebSocket> LinkLlSession<LinkLlSslStream>::createWebsocket()
{
    auto stream = std::make_unique<WebSocket>(*ioContext, ssl->context());
    auto& tlsLayer = stream->next_layer();
    if ((flags & MarlekLinkConnectionFlags::SKIP_SSL_CERT_VALIDATION) != 0) {
        tlsLayer.set_verify_mode(boost::asio::ssl::verify_none);
    } else {
        tlsLayer.set_verify_mode(boost::asio::ssl::verify_peer);
        tlsLayer.set_verify_callback(
            [sslImpl = ssl.get(), host = host](bool preverified, boost::asio::ssl::verify_context& context) {
                return sslImpl->verifyCallback(preverified, context, host);
            });
    }
    return stream;
}

template <>
bool LinkLlSession<LinkLlSslStream>::setupTlsStuff()
{
    ssl->beginPeerVerification();
    const std::string name = ssl->resolveVerificationHostname(host);
    boost::system::error_code notAnAddress;
    boost::asio::ip::make_address(name, notAnAddress);
    if (!notAnAddress) {
        return true;
    }
    return SSL_set_tlsext_host_name(websocket->next_layer().native_handle(), name.c_str()) == 1;
}

template <>
boost::asio::awaitable<boost::system::error_code> LinkLlSession<LinkLlSslStream>::asyncTlsHandshake()
{
    // A peer that takes the TCP connection but never completes the handshake
    // must not hold the connect forever: the connection time-out bounds it.
    auto& tcpLayer = boost::beast::get_lowest_layer(*websocket);
    tcpLayer.expires_at(deadlineFromNow(connectionTimeout));
    auto [error] = co_await websocket->next_layer().async_handshake(boost::asio::ssl::stream_base::client,
                                                                    link_ll_detail::awaitTuple);
    tcpLayer.expires_never();
    co_return error;
}

template class LinkLlSession<LinkLlSslStream>;
