#include "marlek_link_json/websocket_connection_info_json.hpp"
#include "marlek_link_json/workstation_status_json.hpp"

#include <boost/json.hpp>
#include <boost/system/system_error.hpp>
#include <gtest/gtest.h>

#include <optional>

namespace json = boost::json;

namespace {

json::object statusJson()
{
    return json::object{{"busy", true}, {"uptime", 1234}, {"last_dc_calibration", "2024-01-01"}};
}

json::object connectionJson()
{
    return json::object{{"connection_id", "c"}, {"connected_since", "s"}, {"remote_addr", "::1"},
                        {"remote_port", 443},   {"target", "/default"},   {"user_agent", "ua"},
                        {"using_tls", true}};
}

// The code the read raises, or nothing when it reads.
template <typename T>
std::optional<boost::system::error_code> failureOf(const json::value& source)
{
    try {
        json::value_to<T>(source);
        return std::nullopt;
    } catch (const boost::system::system_error& e) {
        return e.code();
    }
}

} // namespace

TEST(WorkstationStatusJson, ReadsEveryMember)
{
    EXPECT_EQ(json::value_to<WorkstationStatus>(json::value(statusJson())), (WorkstationStatus{1234, true, "2024-01-01"}));
    json::object extra = statusJson();
    extra["firmware"] = "ignored";
    extra["uptime"] = 9.007199254740992e15;
    EXPECT_EQ(json::value_to<WorkstationStatus>(json::value(extra)).uptime, 9007199254740992LL);
}

struct MemberCase {
    const char* name;
    const char* key;
    std::optional<json::value> value; // none: the key is removed
    json::error expected;
};

class WorkstationStatusFault : public ::testing::TestWithParam<MemberCase> {};

TEST_P(WorkstationStatusFault, RaisesTheConversionError)
{
    json::object source = statusJson();
    if (GetParam().value) {
        source[GetParam().key] = *GetParam().value;
    } else {
        source.erase(GetParam().key);
    }
    EXPECT_EQ(failureOf<WorkstationStatus>(source), json::make_error_code(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, WorkstationStatusFault,
    ::testing::Values(MemberCase{"UptimeMissing", "uptime", std::nullopt, json::error::size_mismatch},
                      MemberCase{"UptimeFraction", "uptime", json::value(1.5), json::error::not_exact},
                      MemberCase{"UptimeBeyondSigned", "uptime", json::value(9223372036854775808ULL),
                                 json::error::not_exact},
                      MemberCase{"UptimeText", "uptime", json::value("1"), json::error::not_number},
                      MemberCase{"BusyNumber", "busy", json::value(0), json::error::not_bool},
                      MemberCase{"CalibrationNull", "last_dc_calibration", json::value(nullptr),
                                 json::error::not_string}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WorkstationStatusJson, MembersAreCheckedBusyFirst)
{
    // Both are wrong: busy decides.
    json::object source = statusJson();
    source["busy"] = "yes";
    source.erase("uptime");
    EXPECT_EQ(failureOf<WorkstationStatus>(source), json::make_error_code(json::error::not_bool));
    EXPECT_EQ(failureOf<WorkstationStatus>(json::array{}), json::make_error_code(json::error::not_object));
}

class ConnectionInfoFault : public ::testing::TestWithParam<MemberCase> {};

TEST_P(ConnectionInfoFault, RaisesTheConversionError)
{
    json::object source = connectionJson();
    if (GetParam().value) {
        source[GetParam().key] = *GetParam().value;
    } else {
        source.erase(GetParam().key);
    }
    EXPECT_EQ(failureOf<WebsocketConnectionInfo>(source), json::make_error_code(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ConnectionInfoFault,
    ::testing::Values(MemberCase{"IdMissing", "connection_id", std::nullopt, json::error::size_mismatch},
                      MemberCase{"PortBeyond32Bits", "remote_port", json::value(2147483648LL), json::error::not_exact},
                      MemberCase{"PortText", "remote_port", json::value("443"), json::error::not_number},
                      MemberCase{"TlsText", "using_tls", json::value("true"), json::error::not_bool},
                      MemberCase{"TargetMissing", "target", std::nullopt, json::error::size_mismatch}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WebsocketConnectionInfoJson, ReadsEveryMember)
{
    json::object source = connectionJson();
    source["remote_port"] = -2147483648LL;
    const auto info = json::value_to<WebsocketConnectionInfo>(json::value(source));
    EXPECT_EQ(info, (WebsocketConnectionInfo{"c", "s", "::1", -2147483647 - 1, "/default", "ua", true}));
}
