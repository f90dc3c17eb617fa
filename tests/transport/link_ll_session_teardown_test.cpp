#include "session_probe.hpp"

#include "fake_workstation/fake_workstation.hpp"
#include "marlek_link_json/link_ll_session_flags.hpp"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <thread>

using Status = MarlekLinkServiceStatusEnum;
using Connection = MarlekLinkConnectionStatusEnum;
using Flags = MarlekLinkConnectionFlags;

namespace {

constexpr auto kCloseLimit = 1000ms;
const auto kDisconnectBound = kCloseLimit + LinkLlSessionTiming{}.disconnectMargin;
// Far beyond what an orderly close takes even on a loaded machine, so that
// only a close that hangs runs into it.
constexpr auto kGenerousCloseLimit = 10s;

// Runs disconnect on a thread of its own and returns how long it took. A
// disconnect that is still running well past its bound fails the whole
// program on the spot: the hung worker cannot be cleaned up, and a test
// program that never returns would hide which case hung.
std::chrono::steady_clock::duration timedDisconnect(SessionProbe& session, const std::string& context,
                                                    std::chrono::milliseconds closeLimit = kCloseLimit)
{
    const auto started = std::chrono::steady_clock::now();
    auto done = std::async(std::launch::async, [&] { session->disconnect(); });
    if (done.wait_for(closeLimit + LinkLlSessionTiming{}.disconnectMargin + 5s) != std::future_status::ready) {
        ADD_FAILURE() << "disconnect hangs: " << context;
        std::fflush(stdout);
        std::_Exit(EXIT_FAILURE);
    }
    done.get();
    return std::chrono::steady_clock::now() - started;
}

// Pushes text frames from the workstation to its latest client while in scope.
class FramePump {
public:
    FramePump(FakeWorkstation& workstation, std::size_t frameSize)
        : thread([this, &workstation, frame = std::string(frameSize, 'p')] {
              while (running) {
                  workstation.sendText(frame);
                  std::this_thread::sleep_for(50us);
              }
          })
    {
    }
    ~FramePump()
    {
        running = false;
        thread.join();
    }
    FramePump(const FramePump&) = delete;
    FramePump& operator=(const FramePump&) = delete;

private:
    std::atomic<bool> running{true};
    std::thread thread;
};

FakeWorkstationOptions stalledReader()
{
    FakeWorkstationOptions options;
    options.pauseReadingAfterUpgrade = true;
    return options;
}

} // namespace

struct TransportCase {
    const char* name;
    bool tls;
};

class DisconnectUnderTraffic : public ::testing::TestWithParam<TransportCase> {
protected:
    FakeWorkstationOptions serving(FakeWorkstationOptions options = {}) const
    {
        if (GetParam().tls) {
            options.tls = TlsTestMaterial::shared().localhost;
        }
        return options;
    }
    unsigned flags() const
    {
        return GetParam().tls ? Flags::USE_SSL | Flags::SSL_DO_NOT_USE_SYSTEM_CAS | Flags::SKIP_SSL_CERT_VALIDATION
                              : Flags::NONE;
    }

private:
    TimingOverride timing{20ms, kCloseLimit};
};

// The peer's frames and its answer to the close frame may reach the client
// together; the closing handshake must still end, orderly, every time. The
// rounds are counted, not timed: a loaded machine runs them slower, not
// differently.
TEST_P(DisconnectUnderTraffic, WhileThePeerStreamsFramesEndsOrderlyEveryTime)
{
    FakeWorkstation workstation(serving());
    TimingOverride generous{20ms, kGenerousCloseLimit};
    for (int round = 0; round < 40; ++round) {
        SessionProbe session("127.0.0.1", workstation.port(), flags());
        ASSERT_EQ(session->connect(), Status::OK) << "round " << round;
        std::chrono::steady_clock::duration took{};
        {
            // Frame sizes and the moment of the disconnect vary, so that the
            // close meets the incoming frames at every stage.
            FramePump pump(workstation, 100 + round % 7 * 1000);
            for (int i = 0; i < round % 4; ++i) {
                ASSERT_TRUE(session->send("queued " + std::to_string(i)));
            }
            std::this_thread::sleep_for(std::chrono::microseconds(round % 10 * 300));
            took = timedDisconnect(session, "round " + std::to_string(round), kGenerousCloseLimit);
        }
        // The orderly close, not the cut-off after the close limit, ended it.
        ASSERT_LT(took, kGenerousCloseLimit) << "round " << round;
        ASSERT_EQ(session.statusHistory(), (std::vector{Connection::CONNECTED, Connection::DISCONNECTED}))
            << "round " << round;
        ASSERT_TRUE(workstation.waitUntil(
            [&](const auto& records) { return records.size() > std::size_t(round) && records[round].ended; }, 5s))
            << "round " << round;
        const auto record = workstation.connections()[round];
        ASSERT_EQ(record.closeCode, 1000) << "round " << round;
        ASSERT_EQ(record.messages.size(), std::size_t(round % 4)) << "round " << round;
    }
}

// A peer that reads nothing holds the queued writes, so the closing handshake
// never even starts; disconnect still returns once the close limit is over.
TEST_P(DisconnectUnderTraffic, WithWritesStalledByThePeerReturnsWithinTheCloseLimit)
{
    FakeWorkstation workstation(serving(stalledReader()));
    SessionProbe session("127.0.0.1", workstation.port(), flags());
    ASSERT_EQ(session->connect(), Status::OK);
    const std::string chunk(64 * 1024, 'w');
    for (int i = 0; i < 200 && session->send(chunk); ++i) {
    }

    const auto took = timedDisconnect(session, "stalled writes");
    EXPECT_GE(took, kCloseLimit);
    EXPECT_LT(took, kDisconnectBound + 500ms);
    EXPECT_EQ(session.statusHistory(), (std::vector{Connection::CONNECTED, Connection::DISCONNECTED}));
    EXPECT_EQ(session->getConnectionStatus(), Connection::DISCONNECTED);
    EXPECT_FALSE(session->send("late"));
    // The paused peer learns of the cut once it reads again.
    workstation.resumeReading();
    ASSERT_TRUE(workstation.waitForConnectionEnd(5s));
    EXPECT_EQ(workstation.connections()[0].closeCode, std::nullopt);

    // The session is whole again: it connects anew and closes orderly.
    ASSERT_EQ(session->connect(), Status::OK);
    ASSERT_TRUE(workstation.waitUntil([](const auto& records) { return records.size() == 2; }, 5s));
    workstation.resumeReading();
    EXPECT_TRUE(session->send("again"));
    EXPECT_LT(timedDisconnect(session, "second connection"), kCloseLimit);
    EXPECT_EQ(session.statusHistory(), (std::vector{Connection::CONNECTED, Connection::DISCONNECTED,
                                                    Connection::CONNECTED, Connection::DISCONNECTED}));
    ASSERT_TRUE(workstation.waitForConnectionEnd(5s));
    const auto second = workstation.connections()[1];
    ASSERT_EQ(second.messages.size(), 1u);
    EXPECT_EQ(second.messages[0].bytes, "again");
    EXPECT_EQ(second.closeCode, 1000);
}

INSTANTIATE_TEST_SUITE_P(Transports, DisconnectUnderTraffic,
                         ::testing::Values(TransportCase{"Plain", false}, TransportCase{"Tls", true}),
                         [](const auto& info) { return std::string(info.param.name); });
