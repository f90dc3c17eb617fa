#pragma once

#include "fake_workstation/inbox.hpp"
#include "fake_workstation/fake_workstation.hpp"
#include "marlek_json_common/json_common/logging/error_formatter.hpp"
#include "marlek_json_common/json_common/logging/error_object_json.hpp"
#include "marlek_link_json/link_json_session.hpp"
#include "marlek_link_json/link_ll_session_flags.hpp"
#include "marlek_link_json/link_ll_session_timing.hpp"

#include <gtest/gtest.h>

#include <boost/json.hpp>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

using namespace std::chrono_literals;

inline constexpr auto kWait = 5s;

inline std::string formatted(const ErrorObject& error)
{
    return error.getMessageFormatted<ErrorFormatters::DefaultErrorFormatter>();
}

inline ErrorCodeEnum codeOf(const ErrorObject& error)
{
    return error.getErrorCodeEnum();
}

// The error code of a reply's "error" object.
inline ErrorCodeEnum replyCode(const boost::json::object& reply)
{
    return LinkJsonSession::getError(reply).getErrorCodeEnum();
}

using fake_workstation::Inbox;

// A session connected to its own fake workstation, with a short request
// time-out so that nothing waits long.
class ConnectedSession : public ::testing::Test {
protected:
    static constexpr auto kRequestTimeout = 300ms;

    void SetUp() override
    {
        // A dropped connection is noticed at the next heartbeat wake-up.
        LinkLlSessionTiming timing;
        timing.heartbeatWait = 100ms;
        LinkLlSessionTiming::overrideForTesting(timing);
        session = std::make_unique<LinkJsonSession>("127.0.0.1", workstation.port(), MarlekLinkConnectionFlags::NONE,
                                                    "", "");
        session->setRequestTimeout(kRequestTimeout);
        ASSERT_EQ(codeOf(session->connect()), ErrorCodeEnum::NONE);
    }

    void TearDown() override
    {
        session.reset();
        LinkLlSessionTiming::restoreDefaults();
    }

    FakeRequestRouter& router() { return workstation.router(); }

    FakeWorkstation workstation;
    std::unique_ptr<LinkJsonSession> session;
};
