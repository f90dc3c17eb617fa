#include "json_test_support.hpp"

#include "marlek_json_common/json_common/configuration/device/workstation_info_json.hpp"

#include <cstdint>

namespace {

WorkstationInfo read(std::string_view text)
{
    return json::value_to<WorkstationInfo>(json::parse(text));
}

} // namespace

TEST(WorkstationInfoJson, WritesKeysInOrderAndReadsBackAfterText)
{
    const WorkstationInfo info{12, "S-1", "TQ5", "3.2", "b77", "uuid", "00:11", "lab", WorkstationModeEnum::EMULATION};
    const auto written = json::value_from(info);
    EXPECT_EQ(json::serialize(written),
              R"({"protocol_version":12,"serial_number":"S-1","model_name":"TQ5","firmware_version":"3.2",)"
              R"("firmware_build_id":"b77","cpu_card_uuid":"uuid","system_mac":"00:11","system_name":"lab",)"
              R"("mode":"EMULATION"})");
    EXPECT_TRUE(written.at("protocol_version").is_uint64());
    // After text the version arrives as a signed integer and must still read.
    EXPECT_EQ(json::value_to<WorkstationInfo>(throughText(written)), info);
}

TEST(WorkstationInfoJson, ModeWithoutNameIsWrittenAsItsNumber)
{
    WorkstationInfo info;
    info.mode = static_cast<WorkstationModeEnum>(7);
    EXPECT_EQ(json::value_from(info).at("mode"), json::value(7));
}

struct VersionCase {
    const char* json;
    std::uint64_t expected;
};

class ProtocolVersionRead : public ::testing::TestWithParam<VersionCase> {};

TEST_P(ProtocolVersionRead, ExactPositiveIntegerOrZero)
{
    EXPECT_EQ(read(GetParam().json).protocol_version, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ProtocolVersionRead,
                         ::testing::Values(VersionCase{R"({"protocol_version":12})", 12},
                                           VersionCase{R"({"protocol_version":12.0})", 12},
                                           VersionCase{R"({"protocol_version":12.5})", 0},
                                           VersionCase{R"({"protocol_version":-3})", 0},
                                           VersionCase{R"({"protocol_version":0})", 0},
                                           VersionCase{R"({"protocol_version":"12"})", 0},
                                           VersionCase{R"({"protocol_version":9223372036854775807})",
                                                       9223372036854775807u},
                                           VersionCase{R"({"protocol_version":9223372036854775808})", 0},
                                           VersionCase{R"({"protocol_version":1e300})", 0},
                                           VersionCase{R"({})", 0}));

struct ModeCase {
    const char* json;
    WorkstationModeEnum expected;
};

class ModeRead : public ::testing::TestWithParam<ModeCase> {};

TEST_P(ModeRead, ExactNameOrNormal)
{
    EXPECT_EQ(read(GetParam().json).mode, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ModeRead,
                         ::testing::Values(ModeCase{R"({"mode":"EMULATION"})", WorkstationModeEnum::EMULATION},
                                           ModeCase{R"({"mode":"emulation"})", WorkstationModeEnum::NORMAL},
                                           ModeCase{R"({"mode":"RECOVERY"})", WorkstationModeEnum::RECOVERY},
                                           ModeCase{R"({"mode":"FAILSAFE"})", WorkstationModeEnum::FAILSAFE},
                                           ModeCase{R"({"mode":1})", WorkstationModeEnum::NORMAL},
                                           ModeCase{R"({})", WorkstationModeEnum::NORMAL}));

TEST(WorkstationInfoJson, TolerantOfMalformedMembers)
{
    const auto onlyVersion = read(R"({"protocol_version":12})");
    EXPECT_EQ(onlyVersion, (WorkstationInfo{.protocol_version = 12}));

    const auto numberText = read(R"({"serial_number":1234,"model_name":"TQ5"})");
    EXPECT_EQ(numberText.serial_number, "");
    EXPECT_EQ(numberText.model_name, "TQ5");

    EXPECT_EQ(read("null"), WorkstationInfo{});
    EXPECT_EQ(read(R"(["TQ5"])"), WorkstationInfo{});
}
