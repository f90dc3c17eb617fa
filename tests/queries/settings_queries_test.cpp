#include "queries_test_support.hpp"

#include "marlek_link_json/jobs/control/settings/settings_set_json.hpp"

namespace json = boost::json;

using SettingsQueries = ConnectedSession;

TEST_F(SettingsQueries, ReadsEveryKindOfSetting)
{
    router().queries().setSettings(json::object{{"beep", true},
                                                {"sleep_after", 600},
                                                {"negative", -3},
                                                {"line_frequency", 50.5},
                                                {"name", "ws"},
                                                {"nothing", nullptr},
                                                {"list", json::array{1}},
                                                {"nested", json::object{}}});
    const auto settings = session->getAllSettings();
    ASSERT_TRUE(settings.has_value()) << formatted(settings.error());
    EXPECT_EQ(lastRequestWithoutId(router(), "/settings/get"), (json::object{{"do", "/settings/get"}}));

    EXPECT_EQ(settings->size(), 5U);
    const SettingsSet& read = *settings;
    EXPECT_EQ(read["beep"].getType(), Setting::Type::BOOL);
    EXPECT_TRUE(read["beep"].getBoolValue());
    EXPECT_EQ(read["sleep_after"].getType(), Setting::Type::INT);
    EXPECT_EQ(read["sleep_after"].getIntValue(), 600);
    EXPECT_EQ(read["negative"].getIntValue(), -3);
    EXPECT_EQ(read["line_frequency"].getType(), Setting::Type::DOUBLE);
    EXPECT_EQ(read["line_frequency"].getDoubleValue(), 50.5);
    EXPECT_EQ(read["name"].getType(), Setting::Type::STRING);
    EXPECT_EQ(read["name"].getStringValue(), "ws");
}

// Narrowed, 5000000000 would read as 705032704 and be written back so.
TEST_F(SettingsQueries, IntegersBeyondThirtyTwoBitsAreLeftOutAndReported)
{
    router().queries().setSettings(json::object{{"huge", 5000000000LL},
                                                {"tiny", -5000000000LL},
                                                {"beyond_signed", 18446744073709551615ULL},
                                                {"largest", 2147483647},
                                                {"smallest", -2147483648LL}});
    ::testing::internal::CaptureStderr();
    const auto settings = session->getAllSettings();
    const std::string log = ::testing::internal::GetCapturedStderr();
    ASSERT_TRUE(settings.has_value());

    const SettingsSet& read = *settings;
    EXPECT_EQ(read.size(), 2U);
    EXPECT_EQ(read["largest"].getIntValue(), 2147483647);
    EXPECT_EQ(read["smallest"].getIntValue(), -2147483647 - 1);
    EXPECT_EQ(read["huge"].getType(), Setting::Type::UNINITIALIZED);
    EXPECT_NE(log.find("\"huge\""), std::string::npos) << log;
    EXPECT_NE(log.find("\"tiny\""), std::string::npos) << log;
    EXPECT_NE(log.find("\"beyond_signed\""), std::string::npos) << log;
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 3) << log;
}

TEST_F(SettingsQueries, UpdateSendsTheSetAndStoresEachOutcome)
{
    router().queries().setSettingOutcome(
        "sleep_after", {FakeSettingOutcome::Kind::Failed, ErrorObject(ErrorCodeEnum::SETTINGS_NOT_APPLIED,
                                                                      "setting {0} not applied", "sleep_after")});
    router().queries().setSettingOutcome("name", {FakeSettingOutcome::Kind::FailedWithoutError, {}});
    router().queries().setSettingOutcome("line_frequency", {FakeSettingOutcome::Kind::Omitted, {}});

    SettingsSet settings;
    settings["beep"] = true;
    settings["sleep_after"] = 900;
    settings["name"] = "bench";
    settings["line_frequency"] = 60.0;
    settings["untouched"];
    // An earlier update's success must not stand for this one, which the
    // reply does not confirm.
    settings["line_frequency"].setSuccessfullyUpdated(true);

    const json::object reply = session->updateSettings(settings);
    EXPECT_TRUE(LinkJsonSession::wasSuccessful(reply));

    const json::object sent = lastRequestWithoutId(router(), "/settings/set");
    EXPECT_EQ(keysOf(sent), (std::vector<std::string>{"do", "settings"}));
    EXPECT_EQ(sent.at("do"), "/settings/set");
    // The uninitialised setting is not sent; each value keeps its JSON kind.
    EXPECT_EQ(sent.at("settings").as_object(),
              (json::object{{"beep", true}, {"sleep_after", 900}, {"name", "bench"}, {"line_frequency", 60.0}}));
    EXPECT_TRUE(sent.at("settings").at("line_frequency").is_double());
    EXPECT_TRUE(sent.at("settings").at("sleep_after").is_int64());

    EXPECT_TRUE(settings["beep"].successfullyUpdated());
    EXPECT_EQ(codeOf(settings["beep"].getUpdateFailureReason()), ErrorCodeEnum::NONE);
    EXPECT_FALSE(settings["sleep_after"].successfullyUpdated());
    EXPECT_EQ(settings["sleep_after"].getUpdateFailureReason(),
              ErrorObject(ErrorCodeEnum::SETTINGS_NOT_APPLIED, "setting {0} not applied", "sleep_after"));
    EXPECT_FALSE(settings["name"].successfullyUpdated());
    EXPECT_EQ(settings["name"].getUpdateFailureReason(), unknownError());
    EXPECT_FALSE(settings["line_frequency"].successfullyUpdated());
    EXPECT_FALSE(settings["untouched"].successfullyUpdated());
    EXPECT_EQ(settings.size(), 5U);

    EXPECT_EQ(router().queries().settings().at("beep"), true);
}

struct WholeReplyCase {
    const char* name;
    FakeReplyOverride override;
    ErrorObject reason;
};

class SettingsUpdateWithoutOutcomes : public ConnectedSession,
                                      public ::testing::WithParamInterface<WholeReplyCase> {};

TEST_P(SettingsUpdateWithoutOutcomes, MarksEverySettingFailedWithTheReplysError)
{
    router().setReplyOverride("/settings/set", GetParam().override);
    SettingsSet settings;
    settings["beep"] = true;
    settings["sleep_after"] = 900;
    settings["beep"].setSuccessfullyUpdated(true);

    session->updateSettings(settings);
    for (const auto& [name, setting] : settings) {
        EXPECT_FALSE(setting.successfullyUpdated()) << name;
        EXPECT_EQ(setting.getUpdateFailureReason(), GetParam().reason) << name;
    }
}

namespace {

FakeReplyOverride overrideOf(FakeReplyOverride::Mode mode, ErrorObject error = {})
{
    FakeReplyOverride override;
    override.mode = mode;
    override.error = std::move(error);
    return override;
}

} // namespace

INSTANTIATE_TEST_SUITE_P(
    Rows, SettingsUpdateWithoutOutcomes,
    ::testing::Values(
        WholeReplyCase{"Refused",
                       overrideOf(FakeReplyOverride::Mode::Failed, ErrorObject(ErrorCodeEnum::QUEUE_FULL, "queue full")),
                       ErrorObject(ErrorCodeEnum::QUEUE_FULL, "queue full")},
        WholeReplyCase{"TimedOut", overrideOf(FakeReplyOverride::Mode::NoReply), timedOut()},
        WholeReplyCase{"SuccessWithoutSettings", overrideOf(FakeReplyOverride::Mode::WithoutResultKeys),
                       unknownError()}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SettingsOutcomes, MalformedEntriesLeaveTheSettingAlone)
{
    SettingsSet settings;
    settings["a"] = 1;
    settings["b"] = 2;
    settings["c"] = 3;
    settings["d"] = 4;
    settings["a"].setSuccessfullyUpdated(true);
    settings["b"].setSuccessfullyUpdated(true);
    settings["c"].setSuccessfullyUpdated(true);
    const json::object reply{
        {"status", "SUCCESS"},
        {"settings", json::object{{"a", "SUCCESS"},
                                  {"b", json::object{{"status", 1}}},
                                  {"c", json::object{}},
                                  {"d", json::object{{"status", "FAILED"},
                                                     {"error", json::object{{"code", "QUEUE_FULL"}}}}},
                                  {"stranger", json::object{{"status", "SUCCESS"}}}}},
    };
    LinkJsonSession::updateSettingsVector(reply, settings);
    EXPECT_TRUE(settings["a"].successfullyUpdated());
    EXPECT_TRUE(settings["b"].successfullyUpdated());
    EXPECT_TRUE(settings["c"].successfullyUpdated());
    EXPECT_FALSE(settings["d"].successfullyUpdated());
    EXPECT_EQ(settings.size(), 4U);
}

using StopCommand = ConnectedSession;

TEST_F(StopCommand, SendsTheFixedTextsByteForByte)
{
    session->sendStop(QueueStopModeEnum::QUEUE_STOP_MODE_FLUSH);
    session->sendStop(QueueStopModeEnum::QUEUE_STOP_MODE_CONTINUE);
    session->sendStop(static_cast<QueueStopModeEnum>(7));
    ASSERT_TRUE(workstation.waitForMessages(3, kWait));
    const auto messages = workstation.connections().back().messages;
    ASSERT_EQ(messages.size(), 3U);
    EXPECT_EQ(messages[0].bytes, R"({"do":"/stop","queue":"flush"})");
    EXPECT_EQ(messages[1].bytes, R"({"do":"/stop","queue":"continue"})");
    EXPECT_EQ(messages[1].bytes.size(), 33U);
    EXPECT_EQ(messages[2].bytes, R"({"do":"/stop"})");
    for (const auto& message : messages) {
        EXPECT_FALSE(message.binary);
    }
}

TEST_F(StopCommand, AStopThatCannotBeSentIsReported)
{
    workstation.closeConnection();
    ASSERT_TRUE(workstation.waitForConnectionEnd(kWait));
    const auto deadline = std::chrono::steady_clock::now() + kWait;
    while (session->getConnectionStatus() != MarlekLinkConnectionStatusEnum::DISCONNECTED
           && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(10ms);
    }
    ::testing::internal::CaptureStderr();
    session->sendStop(QueueStopModeEnum::QUEUE_STOP_MODE_FLUSH);
    std::string log = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << log;
    EXPECT_NE(log.find("stop not sent"), std::string::npos) << log;

    session->disconnect();
    ::testing::internal::CaptureStderr();
    session->sendStop(QueueStopModeEnum::QUEUE_STOP_MODE_CONTINUE);
    log = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << log;
    EXPECT_NE(log.find("stop not sent"), std::string::npos) << log;
}
