#pragma once

#include "support/timing_override.hpp"

#include "marlek_link_json/abstract_link_ll_session.hpp"
#include "marlek_link_json/link_ll_session_factory.hpp"
#include "marlek_link_json/link_ll_session_timing.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

using namespace std::chrono_literals;

// A low-level session made through the factory, with handlers that record
// what the worker thread hands over, and waits on those records.
class SessionProbe {
public:
    SessionProbe(const std::string& host, const std::string& port, unsigned flags, std::string_view user = {},
                 std::string_view password = {})
        : factory(makeLinkLlSessionFactory(host, port, flags, user, password)), session(factory->createSession())
    {
        session->setReceiveHandler([this](std::string&& text) { record(texts, std::move(text)); });
        session->setReceiveBinaryHandler([this](std::string&& bytes) { record(binaries, std::move(bytes)); });
        session->setConnectionStatusCallback([this](MarlekLinkConnectionStatusEnum status) {
            std::lock_guard lock(mutex);
            statuses.push_back(status);
            changed.notify_all();
        });
    }

    ~SessionProbe()
    {
        session->disconnect();
        factory->deleteSession(session);
    }

    AbstractLinkLlSession& operator*() { return *session; }
    AbstractLinkLlSession* operator->() { return session; }

    template <typename Condition>
    bool waitFor(Condition condition, std::chrono::milliseconds timeout = 5s)
    {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, timeout, [&] { return condition(); });
    }

    bool waitForStatus(MarlekLinkConnectionStatusEnum status, std::chrono::milliseconds timeout = 5s)
    {
        return waitFor([&] { return !statuses.empty() && statuses.back() == status; }, timeout);
    }

    std::vector<MarlekLinkConnectionStatusEnum> statusHistory()
    {
        std::lock_guard lock(mutex);
        return statuses;
    }
    std::vector<std::string> receivedTexts()
    {
        std::lock_guard lock(mutex);
        return texts;
    }
    std::vector<std::string> receivedBinaries()
    {
        std::lock_guard lock(mutex);
        return binaries;
    }

    // Guarded by mutex; read them inside waitFor conditions.
    std::vector<std::string> texts;
    std::vector<std::string> binaries;
    std::vector<MarlekLinkConnectionStatusEnum> statuses;

private:
    void record(std::vector<std::string>& into, std::string&& message)
    {
        std::lock_guard lock(mutex);
        into.push_back(std::move(message));
        changed.notify_all();
    }

    std::mutex mutex;
    std::condition_variable changed;
    std::unique_ptr<LinkLlSessionAbstractFactory> factory;
    AbstractLinkLlSession* session;
};

// Shortens the session's fixed waits for the duration of a test.
class ShortTimers : public ::testing::Test {
private:
    TimingOverride timing{100ms};
};
