#include "marlek_link_json/http_fetcher.hpp"

#include "marlek_json_common/json_common/logging/error_factory_json.hpp"
#include "marlek_link_json/clock_deadline.hpp"
#include "marlek_link_json/host_header.hpp"
#include "marlek_link_json/name_resolution.hpp"

#include <boost/asio/as_tuple.hpp>
#include <boost/asio/bind_cancellation_slot.hpp>
#include <boost/asio/cancellation_signal.hpp>
#include <boost/asio/co_spawn.hpp>
#include <boost/asio/connect.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/asio/this_coro.hpp>
#include <boost/asio/use_awaitable.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/http/empty_body.hpp>
#include <boost/beast/http/message.hpp>
#include <boost/beast/http/read.hpp>
#include <boost/beast/http/string_body.hpp>
#include <boost/beast/http/write.hpp>
#include <boost/json.hpp>

#include <exception>
#include <optional>
#include <thread>
#include <utility>

namespace asio = boost::asio;
namespace http = boost::beast::http;
using asio::ip::tcp;

namespace {

using FetchResult = std::expected<std::string, ErrorObject>;

constexpr auto noThrow = asio::as_tuple(asio::use_awaitable);

std::unexpected<ErrorObject> dnsError(const std::string& text)
{
    return std::unexpected(ErrorObject(ErrorCodeEnum::CONNECTION_DNS_ERROR, "dns error: {0}", text));
}

std::unexpected<ErrorObject> connectError()
{
    return std::unexpected(ErrorObject(ErrorCodeEnum::CONNECTION_FAILED, "failed to connect"));
}

std::unexpected<ErrorObject> writeError(const std::string& text)
{
    return std::unexpected(
        ErrorObject(ErrorCodeEnum::FAILED_TO_WRITE_TO_SOCKET, "failed to write to socket: {0}", text));
}

std::unexpected<ErrorObject> readError(const std::string& text)
{
    return std::unexpected(
        ErrorObject(ErrorCodeEnum::FAILED_TO_READ_FROM_SOCKET, "failed to read from socket: {0}", text));
}

FetchResult unexpectedException(const std::exception_ptr& failure)
{
    std::string text = "unknown exception";
    try {
        std::rethrow_exception(failure);
    } catch (const std::exception& e) {
        text = e.what();
    } catch (...) {
    }
    return std::unexpected(
        ErrorObject(ErrorCodeEnum::UNEXPECTED_EXCEPTION, "an unexpected exception occured: {0}", std::move(text)));
}

// A time-out that elapses between two steps is noticed here, before the next
// step starts; that step then fails as if it had been cancelled.
asio::awaitable<bool> cancelled()
{
    const auto state = co_await asio::this_coro::cancellation_state;
    co_return state.cancelled() != asio::cancellation_type::none;
}

std::string cancelledText()
{
    return asio::error::make_error_code(asio::error::operation_aborted).message();
}

asio::awaitable<FetchResult> exchange(std::string target, std::string host, std::string port)
{
    co_await asio::this_coro::throw_if_cancelled(false);
    const auto executor = co_await asio::this_coro::executor;

    // The time-out ends the wait for the system resolver, which cannot be
    // interrupted; the fetch then returns without waiting for it.
    NameResolution resolution(executor, host, port);
    const std::optional<NameResolution::Answer> resolved =
        co_await resolution.answer(std::chrono::steady_clock::time_point::max());
    if (!resolved) {
        co_return dnsError(cancelledText());
    }
    if (resolved->error) {
        co_return dnsError(resolved->error.message());
    }
    const auto& endpoints = resolved->results;

    if (co_await cancelled()) {
        co_return connectError();
    }
    tcp::socket socket(executor);
    const auto [connectFailure, endpoint] = co_await asio::async_connect(socket, endpoints, noThrow);
    if (connectFailure) {
        co_return connectError();
    }

    if (co_await cancelled()) {
        co_return writeError(cancelledText());
    }
    http::request<http::empty_body> request(http::verb::get, target, 11);
    request.set(http::field::connection, "close");
    request.set(http::field::host, hostHeaderText(host));
    request.set(http::field::user_agent, "marlek_link_lib");
    const auto [writeFailure, written] = co_await http::async_write(socket, request, noThrow);
    if (writeFailure) {
        co_return writeError(writeFailure.message());
    }

    if (co_await cancelled()) {
        co_return readError(cancelledText());
    }
    boost::beast::flat_buffer buffer;
    http::response<http::string_body> response;
    const auto [readFailure, read] = co_await http::async_read(socket, buffer, response, noThrow);
    if (readFailure) {
        co_return readError(readFailure.message());
    }

    if (response.result() != http::status::ok) {
        // An empty reason phrase reads as the standard text of the status.
        co_return std::unexpected(ErrorObject(ErrorCodeEnum::CONNECTION_HTTP_ERROR, "http error code {0} occured: {1}",
                                              static_cast<long long>(response.result_int()),
                                              std::string(response.reason())));
    }
    boost::system::error_code ignored;
    socket.shutdown(tcp::socket::shutdown_both, ignored);
    co_return std::move(response.body());
}

FetchResult fetchOnThisThread(std::string target, std::string host, std::string port,
                              std::chrono::milliseconds timeout, const std::stop_token& stop)
{
    asio::io_context context;
    asio::steady_timer timer(context);
    asio::cancellation_signal cancellation;
    std::optional<FetchResult> result;

    if (timeout.count() != 0) {
        timer.expires_at(deadlineFromNow(timeout));
        timer.async_wait([&cancellation](const boost::system::error_code& ec) {
            if (!ec) {
                cancellation.emit(asio::cancellation_type::all);
            }
        });
    }
    asio::co_spawn(context, exchange(std::move(target), std::move(host), std::move(port)),
                   asio::bind_cancellation_slot(cancellation.slot(),
                                                [&](std::exception_ptr failure, FetchResult outcome) {
                                                    result = failure ? unexpectedException(failure)
                                                                     : std::move(outcome);
                                                    timer.cancel();
                                                }));
    // Registered behind the exchange's start, which is queued first: the
    // signal then always finds the exchange listening. A signal is only
    // ever emitted on the context's thread.
    const std::stop_callback onStop(stop, [&context, &cancellation] {
        asio::post(context, [&cancellation] { cancellation.emit(asio::cancellation_type::all); });
    });
    context.run();
    // Whatever step the stop cut short failed with its own error; the caller
    // asked for the stop and hears of that instead.
    if (!*result && stop.stop_requested()) {
        return std::unexpected(ErrorFactory::makeError<ErrorCodeEnum::STOPPED_MANUALLY>());
    }
    return std::move(*result);
}

} // namespace

std::expected<std::string, ErrorObject> HttpFetcher::getJson(std::string_view target, std::string_view host,
                                                             std::string_view port, std::chrono::milliseconds timeout)
{
    return getJson(target, host, port, timeout, std::stop_token());
}

std::expected<std::string, ErrorObject> HttpFetcher::getJson(std::string_view target, std::string_view host,
                                                             std::string_view port, std::chrono::milliseconds timeout,
                                                             std::stop_token stop)
{
    if (stop.stop_requested()) {
        return std::unexpected(ErrorFactory::makeError<ErrorCodeEnum::STOPPED_MANUALLY>());
    }
    std::optional<FetchResult> result;
    std::thread worker([&] {
        try {
            result = fetchOnThisThread(std::string(target), std::string(host), std::string(port), timeout, stop);
        } catch (...) {
            // Setting up the I/O objects can fail (no file descriptors left);
            // the caller gets that as a value, like every other failure.
            result = unexpectedException(std::current_exception());
        }
    });
    worker.join();
    return std::move(*result);
}

std::string HttpFetcher::makeErrorJsonReply(const boost::json::object&& error)
{
    return boost::json::serialize(boost::json::object{
        {"type", "REPLY"},
        {"status", "FAILED"},
        {"error", error},
    });
}
