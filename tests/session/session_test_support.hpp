#pragma once

#include "support/connected_session.hpp"
#include "support/error_parts.hpp"

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

// The error code of a reply's "error" object.
inline ErrorCodeEnum replyCode(const boost::json::object& reply)
{
    return LinkJsonSession::getError(reply).getErrorCodeEnum();
}

using fake_workstation::Inbox;
