// The link lets go of a callable only when it holds no lock: the callable's
// destructor may call the link again, or destroy it (a Python closure that
// holds the last reference to its link).

#include "link_test_support.hpp"

#include "support/action_on_release.hpp"
#include "support/returns_within.hpp"

#include "marlek_link_json/events/marleklinkeventhandler.hpp"

#include <atomic>
#include <functional>
#include <future>
#include <memory>

using Status = MarlekLinkConnectionStatusEnum;

namespace {

// Generous: only a deadlock takes this long.
constexpr auto kBound = 20s;
constexpr auto kWait = 5s;

const std::string kServerMessage = R"({"type":"EVENT","event":{"type":"MESSAGE_FROM_SERVER","message":{}}})";

std::shared_ptr<MarlekLinkEventHandler> messageHandler(std::function<void(const boost::json::object&)> callback)
{
    return std::make_shared<MarlekLinkEventHandler>(
        EventTypeEnum::MESSAGE_FROM_SERVER,
        std::make_shared<MarlekLinkEventHandler::RawCallback>(std::move(callback)));
}

// What a released callable does with the link that held it: everything a
// callback may do with its link.
void callTheLinkAgain(MarlekLink& link)
{
    const auto spare = messageHandler([](const boost::json::object&) {});
    link.setEventHandler(spare);
    link.clearEventHandler(spare);
    link.setConnectionStatusCallback([](Status) {});
    link.setConnectionStatusCallback({});
    link.setRequestTimeout(kRequestTimeout);
}

struct ReleaseCase {
    const char* name;
    // Gives the link a callable that holds the part.
    std::function<void(MarlekLink&, const ActionOnRelease&)> give;
    // Makes the link let go of it.
    std::function<void(std::unique_ptr<MarlekLink>&)> release;
};

void PrintTo(const ReleaseCase& release, std::ostream* out)
{
    *out << release.name;
}

void giveStatusCallback(MarlekLink& link, const ActionOnRelease& part)
{
    link.setConnectionStatusCallback([part](Status) {});
}

void giveHandler(MarlekLink& link, const ActionOnRelease& part)
{
    link.setEventHandler(messageHandler([part](const boost::json::object&) {}));
}

std::vector<ReleaseCase> releaseCases()
{
    return {
        {"StatusCallbackReplaced", giveStatusCallback,
         [](std::unique_ptr<MarlekLink>& link) { link->setConnectionStatusCallback([](Status) {}); }},
        {"StatusCallbackCleared", giveStatusCallback,
         [](std::unique_ptr<MarlekLink>& link) { link->setConnectionStatusCallback({}); }},
        {"StatusCallbackOfTheDestroyedLink", giveStatusCallback,
         [](std::unique_ptr<MarlekLink>& link) { link.reset(); }},
        {"HandlerOfTheDestroyedLink", giveHandler, [](std::unique_ptr<MarlekLink>& link) { link.reset(); }},
    };
}

class ReleasedCallable : public ConnectedLinkTest<>, public ::testing::WithParamInterface<ReleaseCase> {};

} // namespace

TEST_P(ReleasedCallable, MayCallTheLinkAgain)
{
    std::atomic<bool> calledBack{false};
    MarlekLink* const raw = link.get();
    GetParam().give(*link, ActionOnRelease([raw, &calledBack] {
                        callTheLinkAgain(*raw);
                        calledBack = true;
                    }));
    ASSERT_TRUE(returnsWithin(kBound, [this] { GetParam().release(link); })) << "deadlock";
    EXPECT_TRUE(calledBack);
}

INSTANTIATE_TEST_SUITE_P(Link, ReleasedCallable, ::testing::ValuesIn(releaseCases()),
                         [](const auto& info) { return std::string(info.param.name); });

// The handler clears itself from its own event: the session lets go of it
// once the event has reached every handler.
TEST_F(ReleasedCallable, HandlerClearedFromItsOwnEventMayCallTheLinkAgain)
{
    std::promise<void> calledBack;
    MarlekLink* const raw = link.get();
    auto handler = std::make_shared<std::weak_ptr<MarlekLinkEventHandler>>();
    auto registered = messageHandler([raw, handler, part = ActionOnRelease([raw, &calledBack] {
                                          callTheLinkAgain(*raw);
                                          calledBack.set_value();
                                      })](const boost::json::object&) { raw->clearEventHandler(handler->lock()); });
    *handler = registered;
    link->setEventHandler(registered);
    // Only the link holds it now.
    registered.reset();
    workstation.sendText(kServerMessage);
    EXPECT_EQ(calledBack.get_future().wait_for(kBound), std::future_status::ready) << "deadlock";
    EXPECT_TRUE(link->getWorkstationStatus().has_value());
}

// Python's closure over its own link: letting go of the callable destroys
// the link within the very call that lets go of it.
TEST(CallableHoldingItsLink, StatusCallbackClearedDestroysTheLink)
{
    ShortHeartbeat heartbeat;
    FakeWorkstation workstation;
    auto link = std::make_shared<MarlekLink>("127.0.0.1", workstation.port());
    ASSERT_EQ(link->connect(), ErrorObject());
    std::weak_ptr<MarlekLink> watched = link;
    link->setConnectionStatusCallback([link](Status) {});
    MarlekLink* const raw = link.get();
    link.reset();
    ASSERT_FALSE(watched.expired());

    ASSERT_TRUE(returnsWithin(kBound, [raw] { raw->setConnectionStatusCallback({}); })) << "deadlock";
    EXPECT_TRUE(watched.expired());
    EXPECT_TRUE(workstation.waitForConnectionEnd(kWait));
}

TEST(CallableHoldingItsLink, HandlerClearedFromItsOwnEventDestroysTheLink)
{
    ShortHeartbeat heartbeat;
    FakeWorkstation workstation;
    auto link = std::make_shared<MarlekLink>("127.0.0.1", workstation.port());
    ASSERT_EQ(link->connect(), ErrorObject());
    std::weak_ptr<MarlekLink> watched = link;
    auto self = std::make_shared<std::weak_ptr<MarlekLinkEventHandler>>();
    auto handler = messageHandler([link, self](const boost::json::object&) { link->clearEventHandler(self->lock()); });
    *self = handler;
    link->setEventHandler(handler);
    handler.reset();
    link.reset();
    ASSERT_FALSE(watched.expired());

    workstation.sendText(kServerMessage);
    EXPECT_TRUE(workstation.waitForConnectionEnd(kBound)) << "the link was not destroyed";
}
