// Boost.Asio, its TLS layer and Boost.Beast are compiled separately; their
// implementations are built here, once, instead of in every user.
#include <boost/asio/impl/src.hpp>
#include <boost/asio/ssl/impl/src.hpp>
#include <boost/beast/src.hpp>
