#include "support/connected_session.hpp"

#include "support/error_parts.hpp"

#include "marlek_link_json/link_ll_session_flags.hpp"

ConnectedSession::ConnectedSession() : ConnectedSession(ConnectedSessionTimings{}) {}

ConnectedSession::ConnectedSession(ConnectedSessionTimings timings) : timings(timings) {}

void ConnectedSession::SetUp()
{
    // Sessions take the timing at construction.
    if (timings.shortHeartbeat) {
        heartbeat.emplace();
    }
    session = std::make_unique<LinkJsonSession>("127.0.0.1", workstation.port(), MarlekLinkConnectionFlags::NONE, "",
                                                "");
    if (timings.requestTimeout) {
        session->setRequestTimeout(*timings.requestTimeout);
    }
    ASSERT_EQ(codeOf(session->connect()), ErrorCodeEnum::NONE);
}

void ConnectedSession::TearDown()
{
    session.reset();
    heartbeat.reset();
}
