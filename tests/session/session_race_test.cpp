#include "session_test_support.hpp"

#include "support/short_heartbeat.hpp"

#include <atomic>
#include <thread>

using Connection = MarlekLinkConnectionStatusEnum;

// The status callback and the time-outs change on other threads while the
// session connects, requests and disconnects: the callback is installed on
// a low-level session that disconnecting deletes at the same time. Meant
// for ThreadSanitizer as much as for the plain run.
TEST(SessionRaces, SettersRacingConnectAndDisconnect)
{
    ShortHeartbeat heartbeat;
    FakeWorkstation workstation;
    std::atomic<int> statuses{0};
    LinkJsonSession session("127.0.0.1", workstation.port(), MarlekLinkConnectionFlags::NONE, "", "");
    std::atomic<bool> stop{false};
    std::thread callbacks([&] {
        for (int round = 0; !stop; ++round) {
            if (round % 2 == 0) {
                session.setConnectionStatusCallback([&](Connection) { ++statuses; });
            } else {
                session.setConnectionStatusCallback({});
            }
        }
    });
    std::thread timeouts([&] {
        for (int round = 0; !stop; ++round) {
            session.setRequestTimeout(round % 2 == 0 ? 300ms : 301ms);
            session.setConnectionTimeout(round % 2 == 0 ? 1500ms : 1501ms);
            static_cast<void>(session.getConnectionStatus());
        }
    });
    for (int connection = 0; connection < 25; ++connection) {
        EXPECT_EQ(session.connect(), ErrorObject());
        EXPECT_TRUE(LinkJsonSession::wasSuccessful(session.sendRequest(boost::json::object{{"do", "/status"}}, -1)));
        session.disconnect();
    }
    stop = true;
    callbacks.join();
    timeouts.join();
    session.setConnectionStatusCallback({});
}
