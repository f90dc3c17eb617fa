#include "link_test_support.hpp"
#include "link_operations.hpp"

#include "fake_workstation/inbox.hpp"
#include "fake_workstation/http_id_server.hpp"
#include "fake_workstation/tls_test_material.hpp"
#include "marlek_link/library_version.hpp"
#include "marlek_link_json/events/marleklinkeventhandler.hpp"
#include "marlek_link_json/link_ll_session_flags.hpp"

#include <condition_variable>
#include <functional>
#include <future>
#include <mutex>

using Mode = FakeReplyOverride::Mode;

namespace {

constexpr auto kWait = 5s;

using fake_workstation::Inbox;

std::string serverMessage(const std::string& text)
{
    return boost::json::serialize(boost::json::object{
        {"type", "EVENT"},
        {"event",
         {{"type", "MESSAGE_FROM_SERVER"},
          {"message", {{"severity", "INFO"}, {"message", text}, {"date_time", "2024-01-01T00:00:00"}}}}}});
}

std::string messageText(const boost::json::object& event)
{
    return std::string(event.at("message").at("message").as_string());
}

std::shared_ptr<MarlekLinkEventHandler> serverMessageHandler(std::function<void(const boost::json::object&)> callback)
{
    return std::make_shared<MarlekLinkEventHandler>(
        EventTypeEnum::MESSAGE_FROM_SERVER,
        std::make_shared<MarlekLinkEventHandler::RawCallback>(std::move(callback)));
}

bool isDisconnected(const std::vector<MarlekLinkConnectionStatusEnum>& all)
{
    return !all.empty() && all.back() == MarlekLinkConnectionStatusEnum::DISCONNECTED;
}

} // namespace

TEST(LinkWithoutSession, EveryOperationAnswersNotConnected)
{
    MarlekLink link("127.0.0.1", "1");
    EXPECT_EQ(link.getConnectionStatus(), MarlekLinkConnectionStatusEnum::DISCONNECTED);
    EXPECT_FALSE(link.isConnected());
    for (const auto& operation : sessionOperations()) {
        const std::optional<ErrorObject> error = operation.call(link);
        ASSERT_TRUE(error) << operation.name;
        EXPECT_EQ(*error, kNotConnected) << operation.name;
        EXPECT_EQ(formatted(*error), "no network connection has been established yet") << operation.name;
    }
    link.cancelPendingOperations();
    link.sendStop(QueueStopModeEnum::QUEUE_STOP_MODE_CONTINUE);
    link.disconnect();
    EXPECT_FALSE(link.isConnected());
}

TEST(LinkWithoutSession, UpdateSettingsMarksEverySettingNotUpdated)
{
    // Flags left over from an earlier, successful update must not survive.
    SettingsSet settings({{"beep", Setting(true)}, {"name", Setting("ws")}});
    for (auto& [name, setting] : settings) {
        setting.setSuccessfullyUpdated(true);
    }
    MarlekLink link("127.0.0.1", "1");
    link.updateSettings(settings);
    EXPECT_EQ(settings.size(), 2u);
    for (const auto& [name, setting] : settings) {
        EXPECT_FALSE(setting.successfullyUpdated()) << name;
        EXPECT_EQ(setting.getUpdateFailureReason(), kNotConnected) << name;
        EXPECT_EQ(setting.getType(), name == "beep" ? Setting::Type::BOOL : Setting::Type::STRING) << name;
    }
    EXPECT_FALSE(settings.allSuccessfullyUpdated());
}

TEST(LinkWithoutSession, IdentityNeedsNoSession)
{
    fake_workstation::HttpIdServer server;
    MarlekLink link("127.0.0.1", std::to_string(server.port()));
    const auto identity = link.id(2s);
    ASSERT_TRUE(identity) << formatted(identity.error());
    EXPECT_EQ(identity->serial_number, "SN-1");
    EXPECT_FALSE(link.isConnected());
    const auto direct = MarlekLink::id("127.0.0.1", std::to_string(server.port()), 2s);
    ASSERT_TRUE(direct);
    EXPECT_EQ(direct->protocol_version, 12u);
}

TEST(LinkWithoutSession, FailedConnectLeavesNoSessionAndCorrectedSettingsConnect)
{
    ShortHeartbeat heartbeat;
    FakeWorkstation workstation;
    MarlekLink link("127.0.0.1", "1");
    EXPECT_EQ(codeOf(link.connect()), ErrorCodeEnum::CONNECTION_FAILED);
    EXPECT_FALSE(link.isConnected());
    EXPECT_EQ(link.getAvailableResources(ResourceTypeEnum::WAVE).error(), kNotConnected);

    link.setDestinationHost("127.0.0.1", workstation.port());
    ASSERT_EQ(link.connect(), ErrorObject());
    EXPECT_TRUE(link.isConnected());
    EXPECT_TRUE(link.getAvailableResources(ResourceTypeEnum::WAVE).has_value());
}

TEST(LinkSettings, FlagsVersionsAndStaticHelpers)
{
    MarlekLink link("host", "1994", MarlekLinkConnectionFlags::NONE);
    link.setFlag(MarlekLinkConnectionFlags::USE_SSL | MarlekLinkConnectionFlags::SKIP_SSL_CERT_VALIDATION);
    EXPECT_TRUE(link.testFlag(MarlekLinkConnectionFlags::USE_SSL));
    EXPECT_FALSE(
        link.testFlag(MarlekLinkConnectionFlags::USE_SSL | MarlekLinkConnectionFlags::SKIP_SSL_HOSTNAME_MATCHING));
    link.clearFlag(MarlekLinkConnectionFlags::USE_SSL);
    EXPECT_FALSE(link.testFlag(MarlekLinkConnectionFlags::USE_SSL));
    EXPECT_TRUE(link.testFlag(MarlekLinkConnectionFlags::SKIP_SSL_CERT_VALIDATION));

    EXPECT_EQ(MarlekLink::getLibraryVersion(), "1.0.0+a1b2c3d4");
    EXPECT_EQ(MarlekLink::getSupportedProtocolVersion(), 12u);
    EXPECT_EQ(LibraryVersion::getProtocolVersionString(), "12");
    EXPECT_EQ(LibraryVersion::getBuildId(), "a1b2c3d4");
    EXPECT_EQ(LibraryVersion::getGitRevision(), "0f1e2d3c");
    EXPECT_EQ(LibraryVersion::getBranch(), "HEAD");

    EXPECT_TRUE(MarlekLink::isIpAddress("192.168.1.20"));
    EXPECT_TRUE(MarlekLink::isIpAddress("::1"));
    EXPECT_FALSE(MarlekLink::isIpAddress("localhost"));
    EXPECT_EQ(formatted(MarlekLink::datasetCastError()), "an unexpected exception occured: dataset type cast failed");

    CvJob job(CvParameters{});
    MarlekLink::failJobWhileDisconnected(job);
    EXPECT_EQ(job.getLastJobInfo().statusDetail, JobStatusDetailEnum::NOT_CONNECTED);
    EXPECT_EQ(job.getLastJobInfo().error, kNotConnected);
}

// Whatever the callbacks touch outlives the link, which TearDown destroys.
class ConnectedLink : public ConnectedLinkTest<> {
protected:
    Inbox<MarlekLinkConnectionStatusEnum> statuses;
    Inbox<std::string> messages;
    std::promise<ErrorObject> reconnected;
    std::promise<void> returned;
    std::once_flag once;
};

TEST_F(ConnectedLink, SecondConnectKeepsTheFirstConnection)
{
    EXPECT_EQ(link->connect(), ErrorObject(ErrorCodeEnum::ALREADY_CONNECTED, "already connected"));
    EXPECT_TRUE(link->isConnected());
    EXPECT_TRUE(link->getAvailableResources(ResourceTypeEnum::WAVE).has_value());
    EXPECT_EQ(workstation.connections().size(), 1u);
    EXPECT_FALSE(workstation.connections().front().ended);
}

TEST_F(ConnectedLink, ReconnectingReplacesTheSessionAndKeepsTheSettings)
{
    link->setConnectionStatusCallback([&](MarlekLinkConnectionStatusEnum status) { statuses.push(status); });
    const auto handler =
        serverMessageHandler([&](const boost::json::object& event) { messages.push(messageText(event)); });
    link->setEventHandler(handler);

    workstation.dropConnection();
    ASSERT_TRUE(statuses.waitFor(isDisconnected));
    EXPECT_FALSE(link->isConnected());
    // The lost session still answers, with its own failure.
    EXPECT_NE(codeOf(link->getAvailableResources(ResourceTypeEnum::WAVE).error()),
              ErrorCodeEnum::CONNECTION_NOT_ESTABLISHED);

    ASSERT_EQ(link->connect(), ErrorObject());
    ASSERT_EQ(workstation.connections().size(), 2u);
    EXPECT_TRUE(link->getAvailableResources(ResourceTypeEnum::WAVE).has_value());
    ASSERT_TRUE(workstation.waitForMessages(1, kWait));

    workstation.sendText(serverMessage("after reconnect"));
    ASSERT_TRUE(messages.waitForCount(1));
    EXPECT_EQ(messages.snapshot(), std::vector<std::string>{"after reconnect"});
    EXPECT_TRUE(
        statuses.waitFor([](const auto& all) { return all.back() == MarlekLinkConnectionStatusEnum::CONNECTED; }));
}

TEST_F(ConnectedLink, DisconnectEndsTheConnectionAndKeepsHandlersForTheNextOne)
{
    const auto handler =
        serverMessageHandler([&](const boost::json::object& event) { messages.push(messageText(event)); });
    link->setEventHandler(handler);
    link->setEventHandler(handler);

    link->disconnect();
    EXPECT_TRUE(workstation.waitForConnectionEnd(kWait));
    EXPECT_EQ(workstation.connections().back().closeCode, std::optional<std::uint16_t>(1000));
    EXPECT_EQ(link->getAvailableResources(ResourceTypeEnum::WAVE).error(), kNotConnected);

    ASSERT_EQ(link->connect(), ErrorObject());
    workstation.sendText(serverMessage("one"));
    ASSERT_TRUE(messages.waitForCount(1));
    link->clearEventHandler(handler);
    link->disconnect();
    ASSERT_EQ(link->connect(), ErrorObject());
    workstation.sendText(serverMessage("two"));
    // A marker request: once its reply is back, the event before it was seen.
    EXPECT_TRUE(link->getAvailableResources(ResourceTypeEnum::WAVE).has_value());
    EXPECT_EQ(messages.snapshot(), std::vector<std::string>{"one"});
}

TEST_F(ConnectedLink, QueriesAndSettingsReachTheWorkstation)
{
    const auto identity = link->getWorkstationInfo();
    ASSERT_TRUE(identity);
    EXPECT_EQ(identity->serial_number, "SN-1");
    const auto status = link->getWorkstationStatus();
    ASSERT_TRUE(status);
    EXPECT_EQ(status->uptime, 1234);
    const auto own = link->getOwnConnectionInfo();
    ASSERT_TRUE(own);
    EXPECT_EQ(own->target, "/default");

    SettingsSet settings({{"beep", Setting(true)}});
    link->updateSettings(settings);
    EXPECT_TRUE(settings["beep"].successfullyUpdated());
    ASSERT_EQ(router().requests("/settings/set").size(), 1u);

    link->sendStop(QueueStopModeEnum::QUEUE_STOP_MODE_CONTINUE);
    ASSERT_TRUE(workstation.waitUntil(
        [](const auto& connections) {
            const auto& messages = connections.back().messages;
            return !messages.empty() && messages.back().bytes == R"({"do":"/stop","queue":"continue"})";
        },
        kWait));
}

TEST_F(ConnectedLink, RequestTimeoutAppliesToTheRunningSession)
{
    FakeReplyOverride silent;
    silent.mode = Mode::NoReply;
    router().setReplyOverride("/WAVE/list", silent);
    link->setRequestTimeout(20ms);
    const auto start = std::chrono::steady_clock::now();
    const auto result = link->getAvailableResources(ResourceTypeEnum::WAVE);
    EXPECT_LT(std::chrono::steady_clock::now() - start, kRequestTimeout);
    ASSERT_FALSE(result);
    EXPECT_EQ(codeOf(result.error()), ErrorCodeEnum::OPERATION_TIMED_OUT);
}

// Callbacks run on the session's threads; disconnecting or destroying the
// link there must not wait for the very thread that runs the callback.
TEST_F(ConnectedLink, StatusCallbackMayDisconnectAndReconnect)
{
    link->setConnectionStatusCallback([&](MarlekLinkConnectionStatusEnum status) {
        if (status == MarlekLinkConnectionStatusEnum::DISCONNECTED) {
            std::call_once(once, [&] {
                link->disconnect();
                reconnected.set_value(link->connect());
            });
        }
    });
    workstation.dropConnection();
    auto outcome = reconnected.get_future();
    ASSERT_EQ(outcome.wait_for(kWait), std::future_status::ready);
    EXPECT_EQ(outcome.get(), ErrorObject());
    EXPECT_TRUE(link->isConnected());
    EXPECT_TRUE(link->getAvailableResources(ResourceTypeEnum::WAVE).has_value());
    EXPECT_EQ(workstation.connections().size(), 2u);
}

TEST_F(ConnectedLink, EventHandlerMayDisconnect)
{
    link->setEventHandler(serverMessageHandler([&](const boost::json::object&) {
        link->disconnect();
        returned.set_value();
    }));
    workstation.sendText(serverMessage("stop"));
    ASSERT_EQ(returned.get_future().wait_for(kWait), std::future_status::ready);
    EXPECT_FALSE(link->isConnected());
    EXPECT_TRUE(workstation.waitForConnectionEnd(kWait));
    EXPECT_EQ(workstation.connections().back().closeCode, std::optional<std::uint16_t>(1000));
    ASSERT_EQ(link->connect(), ErrorObject());
}

TEST_F(ConnectedLink, EventHandlerMayDestroyTheLink)
{
    link->setConnectionStatusCallback([&](MarlekLinkConnectionStatusEnum status) { statuses.push(status); });
    link->setEventHandler(serverMessageHandler([&](const boost::json::object&) {
        link.reset();
        returned.set_value();
    }));
    workstation.sendText(serverMessage("go away"));
    ASSERT_EQ(returned.get_future().wait_for(kWait), std::future_status::ready);
    EXPECT_TRUE(workstation.waitForConnectionEnd(kWait));
    // The link is gone: its status callback hears nothing of the closing.
    EXPECT_FALSE(statuses.waitFor(isDisconnected, 200ms));
}

TEST_F(ConnectedLink, StatusCallbackMayDestroyTheLink)
{
    link->setConnectionStatusCallback([&](MarlekLinkConnectionStatusEnum status) {
        if (status == MarlekLinkConnectionStatusEnum::DISCONNECTED && link) {
            link.reset();
            returned.set_value();
        }
    });
    workstation.dropConnection();
    EXPECT_EQ(returned.get_future().wait_for(kWait), std::future_status::ready);
}

// The TLS settings reach the session only with USE_SSL, and the outcome of
// the certificate check stays readable, also after a failed connect.
TEST(LinkTls, ConfigurationReachesTheSessionAndTheVerificationResultIsKept)
{
    ShortHeartbeat heartbeat;
    const TlsTestMaterial& material = TlsTestMaterial::shared();
    FakeWorkstationOptions options;
    options.tls = material.localhost;
    FakeWorkstation workstation(options);

    MarlekLink link("localhost", workstation.port(),
                    MarlekLinkConnectionFlags::USE_SSL | MarlekLinkConnectionFlags::SSL_DO_NOT_USE_SYSTEM_CAS);
    EXPECT_EQ(codeOf(link.connect()), ErrorCodeEnum::TLS_HANDSHAKE_FAILED);
    EXPECT_FALSE(link.sslGetlastVerificationResult().error_message.empty());
    EXPECT_FALSE(link.isConnected());

    TlsConfiguration configuration;
    configuration.trusted_ca_certificates = {material.ca.certificatePem};
    link.sslSetTlsConfiguration(configuration);
    ASSERT_EQ(link.connect(), ErrorObject());
    const TlsVerificationResult& verified = link.sslGetlastVerificationResult();
    EXPECT_TRUE(verified.error_message.empty()) << verified.error_message;
    ASSERT_FALSE(verified.chain.empty());
    EXPECT_EQ(verified.chain.front().sha256_fingerprint, material.localhost.fingerprint);
    link.disconnect();

    // The fingerprint allow-list alone admits the self-signed leaf.
    FakeWorkstationOptions selfSignedOptions;
    selfSignedOptions.tls = material.selfSigned;
    FakeWorkstation selfSigned(selfSignedOptions);
    link.setDestinationHost("localhost", selfSigned.port());
    link.sslSetTrustedCertFingerprintList({material.selfSigned.fingerprint});
    EXPECT_EQ(link.connect(), ErrorObject());
    link.disconnect();

    // Without USE_SSL the same settings are not used: a plain connection.
    FakeWorkstation plain;
    link.clearFlag(MarlekLinkConnectionFlags::USE_SSL);
    link.setDestinationHost("127.0.0.1", plain.port());
    EXPECT_EQ(link.connect(), ErrorObject());
}
