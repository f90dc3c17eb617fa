#include "fake_workstation/udp_responder.hpp"

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/udp.hpp>
#include <boost/asio/post.hpp>

#include <array>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

namespace fake_workstation {

namespace asio = boost::asio;
using asio::ip::udp;

struct UdpResponder::Impl {
    asio::io_context context;
    udp::socket listener{context};
    std::optional<udp::socket> answerSocket;
    std::array<std::uint8_t, 2048> buffer{};
    udp::endpoint sender;
    std::uint16_t boundPort = 0;

    mutable std::mutex mutex;
    mutable std::condition_variable arrived;
    std::vector<UdpProbe> probes;
    std::vector<Datagram> answers;

    std::thread thread;

    explicit Impl(UdpResponderOptions options)
        : answers(std::move(options.answers))
    {
        const auto address = asio::ip::make_address_v4(options.listenAddress);
        listener.open(udp::v4());
        listener.set_option(asio::socket_base::reuse_address(true));
        listener.bind(udp::endpoint(address, options.port));
        boundPort = listener.local_endpoint().port();
        if (!options.answerFromAddress.empty()) {
            answerSocket.emplace(context, udp::v4());
            answerSocket->bind(udp::endpoint(asio::ip::make_address_v4(options.answerFromAddress), 0));
        }
        receive();
        thread = std::thread([this] { context.run(); });
    }

    ~Impl()
    {
        asio::post(context, [this] {
            boost::system::error_code ignored;
            listener.close(ignored);
            if (answerSocket) {
                answerSocket->close(ignored);
            }
        });
        thread.join();
    }

    void receive()
    {
        listener.async_receive_from(asio::buffer(buffer), sender,
                                    [this](const boost::system::error_code& ec, std::size_t size) {
                                        if (ec == asio::error::operation_aborted || !listener.is_open()) {
                                            return;
                                        }
                                        if (!ec) {
                                            answer(size);
                                        }
                                        receive();
                                    });
    }

    void answer(std::size_t size)
    {
        std::vector<Datagram> toSend;
        {
            std::lock_guard lock(mutex);
            probes.push_back(UdpProbe{Datagram(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(size)),
                                      sender.address().to_string(), sender.port()});
            toSend = answers;
        }
        arrived.notify_all();
        auto& from = answerSocket ? *answerSocket : listener;
        for (const auto& datagram : toSend) {
            boost::system::error_code ignored;
            from.send_to(asio::buffer(datagram), sender, 0, ignored);
        }
    }
};

UdpResponder::UdpResponder(UdpResponderOptions options)
    : impl(std::make_unique<Impl>(std::move(options)))
{
}

UdpResponder::~UdpResponder() = default;

std::uint16_t UdpResponder::port() const
{
    return impl->boundPort;
}

std::vector<UdpProbe> UdpResponder::probes() const
{
    std::lock_guard lock(impl->mutex);
    return impl->probes;
}

bool UdpResponder::waitForProbes(std::size_t count, std::chrono::milliseconds timeout) const
{
    std::unique_lock lock(impl->mutex);
    return impl->arrived.wait_for(lock, timeout, [&] { return impl->probes.size() >= count; });
}

void UdpResponder::setAnswers(std::vector<Datagram> answers)
{
    std::lock_guard lock(impl->mutex);
    impl->answers = std::move(answers);
}

} // namespace fake_workstation
