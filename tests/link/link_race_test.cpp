#include "link_test_support.hpp"

#include "fake_workstation/inbox.hpp"
#include "marlek_link_json/events/marleklinkeventhandler.hpp"
#include "marlek_link_json/link_ll_session_flags.hpp"

#include <atomic>
#include <functional>
#include <future>
#include <mutex>
#include <thread>

namespace {

constexpr auto kWait = 5s;
constexpr int kConnections = 25;

using fake_workstation::Inbox;
using Status = MarlekLinkConnectionStatusEnum;

std::string serverMessage(const std::string& text)
{
    return boost::json::serialize(boost::json::object{
        {"type", "EVENT"},
        {"event",
         {{"type", "MESSAGE_FROM_SERVER"},
          {"message", {{"severity", "INFO"}, {"message", text}, {"date_time", "2024-01-01T00:00:00"}}}}}});
}

std::string messageText(const boost::json::object& event)
{
    return std::string(event.at("message").at("message").as_string());
}

std::shared_ptr<MarlekLinkEventHandler> serverMessageHandler(std::function<void(const boost::json::object&)> callback)
{
    return std::make_shared<MarlekLinkEventHandler>(
        EventTypeEnum::MESSAGE_FROM_SERVER,
        std::make_shared<MarlekLinkEventHandler::RawCallback>(std::move(callback)));
}

// Runs body on its own thread again and again until the test says stop.
class Hammer {
public:
    explicit Hammer(std::function<void(int)> body)
        : thread([this, body = std::move(body)] {
              for (int round = 0; !stopped; ++round) {
                  body(round);
              }
          })
    {
    }
    ~Hammer() { stop(); }
    Hammer(const Hammer&) = delete;
    Hammer& operator=(const Hammer&) = delete;

    void stop()
    {
        stopped = true;
        if (thread.joinable()) {
            thread.join();
        }
    }

private:
    std::atomic<bool> stopped{false};
    std::thread thread;
};

// Which of the named handlers the link's connection delivers a message to:
// a marker request after the message shows it has been dispatched.
std::vector<std::string> receiversOf(MarlekLink& link, FakeWorkstation& workstation, Inbox<std::string>& received,
                                     const std::string& text)
{
    const std::size_t before = received.size();
    workstation.sendText(serverMessage(text));
    EXPECT_TRUE(link.getWorkstationStatus().has_value());
    const auto all = received.snapshot();
    return {all.begin() + static_cast<std::ptrdiff_t>(before), all.end()};
}

} // namespace

// Several threads change settings and registrations, also from inside the
// link's callbacks, while another connects and disconnects. Under
// ThreadSanitizer any member left unguarded shows; without it, what the
// connection does afterwards must agree with what the link recorded.
TEST(LinkRaces, SettersRacingConnectAndDisconnectEndAsRecorded)
{
    ShortHeartbeat heartbeat;
    FakeWorkstation workstation;
    const std::string port = workstation.port();
    // Outlive the link, whose callbacks use them.
    Inbox<std::string> received;
    std::atomic<int> statusCalls{0};
    MarlekLink link("127.0.0.1", port);
    link.setRequestTimeout(kRequestTimeout);

    // Two threads set and clear the same two handlers: only the order the
    // link recorded decides which stay.
    const auto first = serverMessageHandler([&](const boost::json::object& event) { received.push("first:" + messageText(event)); });
    const auto second = serverMessageHandler([&](const boost::json::object& event) { received.push("second:" + messageText(event)); });
    const auto toggle = [&](int round) {
        const auto& handler = round % 3 == 0 ? second : first;
        if (round % 2 == 0) {
            link.setEventHandler(handler);
        } else {
            link.clearEventHandler(handler);
        }
    };
    // A status callback that registers and replaces callbacks of its link.
    const auto reentrant = [&](Status status) {
        if (status == Status::CONNECTED) {
            link.setEventHandler(first);
            link.clearEventHandler(first);
        }
    };
    const auto counting = [&](Status) { ++statusCalls; };
    {
        Hammer handlersA(toggle);
        Hammer handlersB(toggle);
        Hammer statusCallbacks([&](int round) {
            if (round % 3 == 0) {
                link.setConnectionStatusCallback(reentrant);
            } else if (round % 3 == 1) {
                link.setConnectionStatusCallback(counting);
            } else {
                link.setConnectionStatusCallback({});
            }
        });
        Hammer settings([&](int round) {
            link.setRequestTimeout(round % 2 == 0 ? kRequestTimeout : kRequestTimeout + 1ms);
            link.setConnectionTimeout(round % 2 == 0 ? 1500ms : 1501ms);
            link.setDestinationHost("127.0.0.1", port);
            link.setHttpAuthenticationInfo(round % 2 == 0 ? "user" : "", "");
            link.setFlag(MarlekLinkConnectionFlags::IGNORE_PROTOCOL_MISMATCH);
            link.clearFlag(MarlekLinkConnectionFlags::IGNORE_PROTOCOL_MISMATCH);
            link.sslSetTlsConfiguration(TlsConfiguration{});
            static_cast<void>(link.sslGetlastVerificationResult());
            static_cast<void>(link.testFlag(MarlekLinkConnectionFlags::USE_SSL));
            static_cast<void>(link.isConnected());
        });
        for (int connection = 0; connection < kConnections; ++connection) {
            ASSERT_EQ(link.connect(), ErrorObject());
            workstation.sendText(serverMessage("during"));
            static_cast<void>(link.getWorkstationStatus());
            link.disconnect();
        }
        ASSERT_EQ(link.connect(), ErrorObject());
    }

    // The connection made while the setters raced delivers to the handlers
    // the link recorded last, as does the one made afterwards from the
    // link's own record.
    const auto byRacedSession = receiversOf(link, workstation, received, "now");
    // Its callback at the next connect would change the registrations.
    link.setConnectionStatusCallback({});
    link.disconnect();
    ASSERT_EQ(link.connect(), ErrorObject());
    EXPECT_EQ(receiversOf(link, workstation, received, "now"), byRacedSession);
}

TEST(LinkRaces, StatusCallbacksSetFromSeveralThreadsEndAsRecorded)
{
    ShortHeartbeat heartbeat;
    FakeWorkstation workstation;
    Inbox<std::string> heard;
    MarlekLink link("127.0.0.1", workstation.port());
    ASSERT_EQ(link.connect(), ErrorObject());

    const auto named = [&](std::string name) {
        return [&heard, name](Status status) { heard.push(name + (status == Status::CONNECTED ? "+" : "-")); };
    };
    const auto setRepeatedly = [&](const std::string& name) {
        return std::thread([&, name] {
            for (int round = 0; round < 500; ++round) {
                link.setConnectionStatusCallback(named(name));
            }
        });
    };
    std::thread one = setRepeatedly("one");
    std::thread two = setRepeatedly("two");
    one.join();
    two.join();
    // The running connection tells its end to the callback the link kept,
    // and the next connection tells its start to the same one.
    link.disconnect();
    ASSERT_EQ(link.connect(), ErrorObject());
    // (The first connection's start may be told late, to whichever
    // callback was set then.)
    ASSERT_TRUE(heard.waitFor([](const auto& all) { return all.size() >= 2 && all.back().back() == '+'; }, kWait));
    const auto calls = heard.snapshot();
    const std::string& end = calls[calls.size() - 2];
    const std::string& start = calls.back();
    EXPECT_EQ(end.substr(0, 3), start.substr(0, 3)) << end << " " << start;
    EXPECT_EQ(end.back(), '-');
}

// A handler that replaces itself on every event: each event reaches exactly
// one handler, and the replacements take effect in the order made.
TEST(LinkRaces, HandlerReplacedOnEveryEventSeesEachEventOnce)
{
    ShortHeartbeat heartbeat;
    FakeWorkstation workstation;
    constexpr int kEvents = 200;
    std::atomic<int> deliveries{0};
    std::promise<void> allSeen;
    std::function<std::shared_ptr<MarlekLinkEventHandler>()> makeHandler;
    std::shared_ptr<MarlekLinkEventHandler> current;
    std::mutex currentMutex;
    MarlekLink link("127.0.0.1", workstation.port());
    ASSERT_EQ(link.connect(), ErrorObject());
    makeHandler = [&] {
        return serverMessageHandler([&](const boost::json::object&) {
            std::shared_ptr<MarlekLinkEventHandler> replacement = makeHandler();
            std::shared_ptr<MarlekLinkEventHandler> replaced;
            {
                std::lock_guard lock(currentMutex);
                replaced = std::exchange(current, replacement);
            }
            link.clearEventHandler(replaced);
            link.setEventHandler(replacement);
            if (++deliveries == kEvents) {
                allSeen.set_value();
            }
        });
    };
    current = makeHandler();
    link.setEventHandler(current);
    for (int event = 0; event < kEvents; ++event) {
        workstation.sendText(serverMessage("tick"));
    }
    ASSERT_EQ(allSeen.get_future().wait_for(kWait), std::future_status::ready);
    // Nothing further arrives: one marker request later, still kEvents.
    EXPECT_TRUE(link.getWorkstationStatus().has_value());
    EXPECT_EQ(deliveries.load(), kEvents);
}
