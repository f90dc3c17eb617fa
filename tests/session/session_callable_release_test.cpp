// The session lets go of every callable it held (status callback, event
// callbacks, request and job callbacks, pending operations, download
// receivers) only when it holds no lock: the callable's destructor may call
// the session again.

#include "session_test_support.hpp"

#include "support/action_on_release.hpp"
#include "support/returns_within.hpp"

#include "marlek_link_json/events/marleklinkeventhandler.hpp"
#include "marlek_link_json/link_ll_session.hpp"

#include <atomic>
#include <functional>
#include <future>

using Connection = MarlekLinkConnectionStatusEnum;
using Mode = FakeReplyOverride::Mode;

namespace {

// Generous: only a deadlock takes this long.
constexpr auto kBound = 20s;

const std::string kServerMessage = R"({"type":"EVENT","event":{"type":"MESSAGE_FROM_SERVER","message":{}}})";

// Everything that takes one of the session's locks without waiting for the
// workstation.
void callTheSessionAgain(LinkJsonSession& session)
{
    session.setConnectionStatusCallback([](Connection) {});
    session.setConnectionStatusCallback({});
    const auto spare = std::make_shared<LinkJsonSession::EventCallback>([](const boost::json::object&) {});
    session.setEventHandler(EventTypeEnum::MESSAGE_FROM_SERVER, spare);
    session.clearEventHandler(EventTypeEnum::MESSAGE_FROM_SERVER, spare);
    const auto operation = std::make_shared<LinkJsonSession::PendingOperation>([](LinkJsonSession::CancellationReason) {});
    session.addPendingOperation(operation);
    session.deletePendingOperation(operation);
    session.deletePendingDownload();
    session.cancelPendingOperations();
    static_cast<void>(session.getConnectionStatus());
}

struct ReleaseCase {
    const char* name;
    // Gives the session a callable that holds the part; the workstation
    // keeps what is pending from being answered.
    std::function<void(LinkJsonSession&, FakeWorkstation&, const ActionOnRelease&)> give;
    // Makes the session let go of it.
    std::function<void(std::unique_ptr<LinkJsonSession>&)> release;
};

void PrintTo(const ReleaseCase& release, std::ostream* out)
{
    *out << release.name;
}

void giveStatusCallback(LinkJsonSession& session, FakeWorkstation&, const ActionOnRelease& part)
{
    session.setConnectionStatusCallback([part](Connection) {});
}

void giveEventCallback(LinkJsonSession& session, FakeWorkstation&, const ActionOnRelease& part)
{
    session.setEventHandler(EventTypeEnum::MESSAGE_FROM_SERVER,
                            std::make_shared<LinkJsonSession::EventCallback>([part](const boost::json::object&) {}));
}

void giveRequestCallback(LinkJsonSession& session, FakeWorkstation& workstation, const ActionOnRelease& part)
{
    workstation.router().setReplyOverride("/status", {.mode = Mode::NoReply});
    session.sendRequest(boost::json::object{{"do", "/status"}}, [part](const boost::json::object&) {}, 0);
}

void giveJobCallback(LinkJsonSession& session, FakeWorkstation&, const ActionOnRelease& part)
{
    // Started without a script: accepted, and never done.
    session.doControlJob("cv", boost::json::object{}, [part](const boost::json::object&) {}, boost::json::array{},
                         boost::json::object{}, JobOptions{}, nullptr);
}

void givePendingOperation(LinkJsonSession& session, FakeWorkstation&, const ActionOnRelease& part)
{
    session.addPendingOperation(
        std::make_shared<LinkJsonSession::PendingOperation>([part](LinkJsonSession::CancellationReason) {}));
}

void cancel(std::unique_ptr<LinkJsonSession>& session)
{
    session->cancelPendingOperations();
}

void disconnect(std::unique_ptr<LinkJsonSession>& session)
{
    session->disconnect();
}

void destroy(std::unique_ptr<LinkJsonSession>& session)
{
    session.reset();
}

std::vector<ReleaseCase> releaseCases()
{
    return {
        {"StatusCallbackReplaced", giveStatusCallback,
         [](std::unique_ptr<LinkJsonSession>& session) { session->setConnectionStatusCallback([](Connection) {}); }},
        {"StatusCallbackCleared", giveStatusCallback,
         [](std::unique_ptr<LinkJsonSession>& session) { session->setConnectionStatusCallback({}); }},
        {"StatusCallbackOfTheDestroyedSession", giveStatusCallback, destroy},
        {"EventCallbackOfTheDestroyedSession", giveEventCallback, destroy},
        {"RequestCallbackCancelled", giveRequestCallback, cancel},
        {"RequestCallbackOnDisconnect", giveRequestCallback, disconnect},
        {"JobCallbackCancelled", giveJobCallback, cancel},
        {"JobCallbackOnDisconnect", giveJobCallback, disconnect},
        {"PendingOperationCancelled", givePendingOperation, cancel},
        {"PendingOperationOnDisconnect", givePendingOperation, disconnect},
    };
}

class ReleasedSessionCallable : public ConnectedSession, public ::testing::WithParamInterface<ReleaseCase> {
protected:
    // Only a release ends what is pending.
    ReleasedSessionCallable() : ConnectedSession(ConnectedSessionTimings{std::chrono::minutes(10), true}) {}
};

} // namespace

TEST_P(ReleasedSessionCallable, MayCallTheSessionAgain)
{
    std::atomic<bool> calledBack{false};
    LinkJsonSession* const raw = session.get();
    GetParam().give(*session, workstation, ActionOnRelease([raw, &calledBack] {
                        callTheSessionAgain(*raw);
                        calledBack = true;
                    }));
    ASSERT_TRUE(returnsWithin(kBound, [this] { GetParam().release(session); })) << "deadlock";
    EXPECT_TRUE(calledBack);
}

INSTANTIATE_TEST_SUITE_P(Session, ReleasedSessionCallable, ::testing::ValuesIn(releaseCases()),
                         [](const auto& info) { return std::string(info.param.name); });

// Removed by itself during its own event, the callback goes once the event
// has reached every callback.
TEST_F(ReleasedSessionCallable, EventCallbackClearedFromItsOwnEventMayCallTheSessionAgain)
{
    std::promise<void> calledBack;
    LinkJsonSession* const raw = session.get();
    auto self = std::make_shared<std::weak_ptr<LinkJsonSession::EventCallback>>();
    auto callback = std::make_shared<LinkJsonSession::EventCallback>(
        [raw, self, part = ActionOnRelease([raw, &calledBack] {
                        callTheSessionAgain(*raw);
                        calledBack.set_value();
                    })](const boost::json::object&) {
            raw->clearEventHandler(EventTypeEnum::MESSAGE_FROM_SERVER, self->lock());
        });
    *self = callback;
    session->setEventHandler(EventTypeEnum::MESSAGE_FROM_SERVER, callback);
    callback.reset();
    workstation.sendText(kServerMessage);
    EXPECT_EQ(calledBack.get_future().wait_for(kBound), std::future_status::ready) << "deadlock";
}

// A download receiver waits for its binary message in a table of its own;
// without a connection no time-out holds it besides.
TEST(ReleasedDownloadReceiver, MayCallTheSessionAgain)
{
    const std::vector<std::pair<const char*, std::function<void(LinkJsonSession&)>>> releases{
        {"deleted", [](LinkJsonSession& session) { session.deletePendingDownload(); }},
        {"replaced",
         [](LinkJsonSession& session) {
             session.setPendingDownload(std::make_shared<LinkJsonSession::DownloadCallback>(
                 [](std::string&&, std::optional<ErrorObject>) {}));
         }},
        {"cancelled", [](LinkJsonSession& session) { session.cancelPendingOperations(); }},
        {"delivered", [](LinkJsonSession& session) { session.dispatchIncommingBinary("content"); }},
    };
    for (const auto& [name, release] : releases) {
        LinkJsonSession session("127.0.0.1", "1", MarlekLinkConnectionFlags::NONE, "", "");
        std::atomic<bool> calledBack{false};
        session.setPendingDownload(std::make_shared<LinkJsonSession::DownloadCallback>(
            [part = ActionOnRelease([&session, &calledBack] {
                 callTheSessionAgain(session);
                 calledBack = true;
             })](std::string&&, std::optional<ErrorObject>) {}));
        ASSERT_TRUE(returnsWithin(kBound, [&, &release = release] { release(session); })) << name << ": deadlock";
        EXPECT_TRUE(calledBack) << name;
    }
}

// The low-level session's status callback, replaced and cleared.
TEST(ReleasedLowLevelStatusCallback, MayCallTheLowLevelSessionAgain)
{
    LinkLlSessionPlain session("127.0.0.1", "1", MarlekLinkConnectionFlags::NONE, "", "");
    for (const bool replaced : {true, false}) {
        std::atomic<bool> calledBack{false};
        session.setConnectionStatusCallback([part = ActionOnRelease([&session, &calledBack] {
                                                 session.setConnectionStatusCallback({});
                                                 static_cast<void>(session.getConnectionStatus());
                                                 calledBack = true;
                                             })](Connection) {});
        ASSERT_TRUE(returnsWithin(kBound, [&] {
            if (replaced) {
                session.setConnectionStatusCallback([](Connection) {});
            } else {
                session.setConnectionStatusCallback({});
            }
        })) << "deadlock";
        EXPECT_TRUE(calledBack);
    }
}
