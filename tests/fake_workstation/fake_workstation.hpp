#pragma once

#include "fake_workstation/fake_request_router.hpp"
#include "fake_workstation/fake_workstation_options.hpp"
#include "fake_workstation/fake_workstation_records.hpp"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// A real WebSocket workstation peer for tests: plain or TLS, on its own
// thread, on an ephemeral port of 127.0.0.1 (or the address its options
// name). It records what clients send and answers requests by their "do"
// (see FakeRequestRouter) and can be told to push frames, close, drop or
// stall. Actions apply to the most recently upgraded connection and run
// asynchronously, in call order.
class FakeWorkstation {
public:
    explicit FakeWorkstation(FakeWorkstationOptions options = {});
    ~FakeWorkstation();

    FakeWorkstation(const FakeWorkstation&) = delete;
    FakeWorkstation& operator=(const FakeWorkstation&) = delete;

    std::uint16_t portNumber() const;
    std::string port() const;

    // Snapshot of every connection that sent an upgrade request, oldest first.
    std::vector<FakeConnectionRecord> connections() const;
    // TCP connections accepted, upgraded or not.
    std::size_t acceptedConnectionCount() const;

    // Waits until condition holds for the records (checked on every change).
    bool waitUntil(const std::function<bool(const std::vector<FakeConnectionRecord>&)>& condition,
                   std::chrono::milliseconds timeout) const;
    bool waitForAcceptedConnections(std::size_t count, std::chrono::milliseconds timeout) const;
    // Waits for the latest connection to have received count messages.
    bool waitForMessages(std::size_t count, std::chrono::milliseconds timeout) const;
    bool waitForPings(std::size_t count, std::chrono::milliseconds timeout) const;
    // Waits for the latest connection to end.
    bool waitForConnectionEnd(std::chrono::milliseconds timeout) const;

    // Answers the clients' requests: per-command reply overrides, the
    // resource store and the download knobs.
    FakeRequestRouter& router();

    void sendText(std::string text);
    void sendBinary(std::string bytes);
    // Close frame with this code; the client's answer ends the connection.
    void closeConnection(std::uint16_t code = 1000);
    // TCP close without a close frame.
    void dropConnection();
    void pauseReading();
    void resumeReading();

private:
    class Server;
    std::unique_ptr<Server> server;
};
