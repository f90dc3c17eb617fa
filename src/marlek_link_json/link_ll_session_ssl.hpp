#pragma once

#include "marlek_link_json/link_ll_session.hpp"

#include <boost/beast/ssl/ssl_stream.hpp>

using LinkLlSslStream = boost::beast::ssl_stream<LinkLlPlainStream>;

// The TLS session differs from the plain one only in these operations.
template <>
std::unique_ptr<LinkLlSslImpl> LinkLlSession<LinkLlSslStream>::makeSslImpl(unsigned& flags);
template <>
std::unique_ptr<LinkLlSession<LinkLlSslStream>::WebSocket> LinkLlSession<LinkLlSslStream>::createWebsocket();
template <>
bool LinkLlSession<LinkLlSslStream>::setupTlsStuff();
template <>
boost::asio::awaitable<boost::system::error_code> LinkLlSession<LinkLlSslStream>::asyncTlsHandshake();

extern template class LinkLlSession<LinkLlSslStream>;
using LinkLlSessionSsl = LinkLlSession<LinkLlSslStream>;
