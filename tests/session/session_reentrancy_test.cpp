#include "session_test_support.hpp"

#include "marlek_link_json/events/marleklinkeventhandler.hpp"
#include "marlek_link_json/jobs/common/jobinfo.hpp"
#include "marlek_link_json/jobs/dc/jobs/dcmeasurementjobs.hpp"

#include <future>

using Connection = MarlekLinkConnectionStatusEnum;
using OcvJob = DcMeasurementJob<OcvParameters, &JobNames::OCV_JOB_NAME>;

namespace {

using RawCallback = LinkJsonSession::EventCallback;

const std::string kServerMessage = R"({"type":"EVENT","event":{"type":"MESSAGE_FROM_SERVER","message":{}}})";

// What a blocking call made from a callback of its own session must come back
// with: at once, and saying why.
void expectRefusedOnTheSessionsThread(const ErrorObject& error)
{
    EXPECT_EQ(codeOf(error), ErrorCodeEnum::UNEXPECTED_EXCEPTION) << formatted(error);
    EXPECT_NE(formatted(error).find("cannot wait for an answer of its own session"), std::string::npos)
        << formatted(error);
}

// Callbacks of a connected session that call back into it; the session's
// time-out is far beyond every wait of the tests, so that only a call that
// fails at once can pass.
class Reentrancy : public ConnectedSession {
protected:
    void SetUp() override
    {
        ConnectedSession::SetUp();
        session->setRequestTimeout(60s);
    }
};

} // namespace

// Without a connection: the dispatch is fed directly, on this thread.
TEST(ReentrantRegistration, TakesEffectWhenTheCurrentDispatchEnds)
{
    LinkJsonSession session("127.0.0.1", "1", MarlekLinkConnectionFlags::NONE, "", "");
    std::vector<std::string> calls;
    const auto later = std::make_shared<RawCallback>([&](const boost::json::object&) { calls.push_back("later"); });
    auto first = std::make_shared<RawCallback>();
    *first = [&, weakFirst = std::weak_ptr<RawCallback>(first)](const boost::json::object&) {
        calls.push_back("first");
        session.setEventHandler(EventTypeEnum::MESSAGE_FROM_SERVER, later);
        session.clearEventHandler(EventTypeEnum::MESSAGE_FROM_SERVER, weakFirst.lock());
        session.setEventHandler(MarlekLinkEventHandler::makeJobDoneEventHandler([&](const JobInfo&) {
            calls.push_back("job done");
        }));
    };
    session.setEventHandler(EventTypeEnum::MESSAGE_FROM_SERVER, first);

    session.dispatchIncommingJson(kServerMessage);
    EXPECT_EQ(calls, (std::vector<std::string>{"first"}));
    session.dispatchIncommingJson(kServerMessage);
    session.dispatchIncommingJson(R"({"type":"JOB_DONE","request_id":"r","job_info":{"job_id":"j","status":"DONE"}})");
    EXPECT_EQ(calls, (std::vector<std::string>{"first", "later", "job done"}));
}

TEST_F(Reentrancy, EventCallbackMayRegisterAndRemoveHandlersOfItsSession)
{
    Inbox<std::string> calls;
    const auto later = std::make_shared<RawCallback>([&](const boost::json::object&) { calls.push("later"); });
    const auto first = std::make_shared<RawCallback>();
    *first = [&, weakFirst = std::weak_ptr<RawCallback>(first)](const boost::json::object&) {
        session->setEventHandler(EventTypeEnum::MESSAGE_FROM_SERVER, later);
        session->clearEventHandler(EventTypeEnum::MESSAGE_FROM_SERVER, weakFirst.lock());
        calls.push("first");
    };
    session->setEventHandler(EventTypeEnum::MESSAGE_FROM_SERVER, first);

    workstation.sendText(kServerMessage);
    workstation.sendText(kServerMessage);
    ASSERT_TRUE(calls.waitForCount(2, kWait));
    EXPECT_EQ(calls.snapshot(), (std::vector<std::string>{"first", "later"}));
    // The connection's thread is free: requests are still answered.
    EXPECT_TRUE(LinkJsonSession::wasSuccessful(session->sendRequest(boost::json::object{{"do", "/status"}}, -1)));
}

// Every call that waits for the workstation fails at once on the thread that
// would have to bring the answer, and the connection goes on.
TEST_F(Reentrancy, WaitingCallsFromAnEventCallbackFailAtOnce)
{
    OcvJob job{OcvParameters{}};
    OcvJob awaited{OcvParameters{}};
    JobInfo running;
    running.jobId = "job-0042";
    awaited.setLastJobInfo(running);

    std::promise<std::vector<ErrorObject>> outcomes;
    session->setEventHandler(EventTypeEnum::MESSAGE_FROM_SERVER,
                             std::make_shared<RawCallback>([&](const boost::json::object&) {
                                 std::vector<ErrorObject> errors;
                                 const auto status = session->getWorkstationStatus();
                                 errors.push_back(status ? ErrorObject() : status.error());
                                 errors.push_back(session->doJob(job));
                                 errors.push_back(session->waitForJobToFinish(awaited));
                                 Resource resource = Resource::fromId(ResourceTypeEnum::WAVE, "res-1");
                                 errors.push_back(session->getUpdatedResourceInfo(resource));
                                 outcomes.set_value(errors);
                             }));
    workstation.sendText(kServerMessage);

    auto future = outcomes.get_future();
    ASSERT_EQ(future.wait_for(kWait), std::future_status::ready);
    for (const ErrorObject& error : future.get()) {
        expectRefusedOnTheSessionsThread(error);
    }
    EXPECT_EQ(job.getLastJobInfo().status, JobStatusEnum::FAILED);
    expectRefusedOnTheSessionsThread(job.getLastJobInfo().error);
    EXPECT_TRUE(router().requests("/status").empty());
    EXPECT_TRUE(router().requests("/job/start").empty());
    EXPECT_TRUE(router().requests("/job/list").empty());
    EXPECT_TRUE(LinkJsonSession::wasSuccessful(session->sendRequest(boost::json::object{{"do", "/status"}}, -1)));
}

TEST_F(Reentrancy, StatusCallbackMayRegisterHandlersAndItsWaitingCallsFailAtOnce)
{
    OcvJob awaited{OcvParameters{}};
    JobInfo running;
    running.jobId = "job-0042";
    awaited.setLastJobInfo(running);
    const auto outcome = std::make_shared<std::promise<ErrorObject>>();
    const auto handler = MarlekLinkEventHandler::makeJobDoneEventHandler([](const JobInfo&) {});
    session->setConnectionStatusCallback([this, outcome, handler, &awaited](Connection status) {
        if (status != Connection::DISCONNECTED) {
            return;
        }
        session->setEventHandler(handler);
        session->clearEventHandler(handler);
        outcome->set_value(session->waitForJobToFinish(awaited));
    });
    workstation.dropConnection();

    auto future = outcome->get_future();
    ASSERT_EQ(future.wait_for(8s), std::future_status::ready);
    expectRefusedOnTheSessionsThread(future.get());
}

// A time-out's callback runs on the thread that times the session's
// requests: a request it waited for could not time out.
TEST_F(Reentrancy, WaitingCallFromATimeOutCallbackFailsAtOnce)
{
    router().setReplyOverride("/id", {.mode = FakeReplyOverride::Mode::NoReply});
    std::promise<boost::json::object> outcome;
    session->sendRequest(boost::json::object{{"do", "/id"}}, [&](const boost::json::object&) {
        outcome.set_value(session->sendRequest(boost::json::object{{"do", "/status"}}, -1));
    }, 100);

    auto future = outcome.get_future();
    ASSERT_EQ(future.wait_for(kWait), std::future_status::ready);
    expectRefusedOnTheSessionsThread(LinkJsonSession::getError(future.get()));
}
