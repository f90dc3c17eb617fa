#include "marlek_link_json/jobs/control/hardware_settings/hardware_settings_helper.hpp"
#include "marlek_link_json/jobs/control/hardware_settings/hardware_settings_json.hpp"

#include <gtest/gtest.h>

#include <boost/json.hpp>

#include <functional>

namespace json = boost::json;

namespace {

json::error readingError(const json::value& value)
{
    try {
        (void)json::value_to<HardwareSettings>(value);
    } catch (const boost::system::system_error& error) {
        return static_cast<json::error>(error.code().value());
    }
    ADD_FAILURE() << "read without error: " << json::serialize(value);
    return {};
}

SetHardwareSettingsParameters fromUser(const UserHardwareSettings& settings)
{
    return {settings.channels, settings.impedance_configurations, settings.output_potentiostats};
}

constexpr std::string_view kAdopted = R"({
  "sync_channels": [{"uri": "MAIN:1:POT:U~ZMU:1:ZMU_U", "dimension": "voltage", "unit": "V", "polynomial": [0, 1]},
                    {"uri": "ZMU4:1:CH1~ZMU4:1:ADC1", "dimension": "pH", "unit": "", "polynomial": [0.5], "x": 1}],
  "impedance_configurations": [{"numerator": "a", "denominator": "b", "impedance_name": "cell"}, "text", 5, {}],
  "async_channels": [{"uri": "HP:1:IN1", "dimension": "t", "unit": "K", "polynomial": null}],
  "output_potentiostats": [{"uri": "nc:33000:POT", "potentiostatic_polynomial": "x", "galvanostatic_polynomial": []}],
  "extra": true
})";

} // namespace

TEST(SetHardwareSettingsRequest, MainPotentiostatText)
{
    const auto parameters = fromUser(HardwareSettingsHelper::getConfigForMainPotentiostat());
    EXPECT_EQ(json::serialize(json::value_from(parameters)),
              R"({"output_potentiostats":[{"uri":"MAIN:1:POT","potentiostatic_polynomial":[0E0,1E0],)"
              R"("galvanostatic_polynomial":[0E0,1E0]}],)"
              R"("channels":[{"uri":"MAIN:1:POT:U~ZMU:1:ZMU_U","dimension":"voltage","unit":"V",)"
              R"("polynomial":[0E0,1E0]},)"
              R"({"uri":"MAIN:1:POT:I~ZMU:1:ZMU_I","dimension":"current","unit":"A","polynomial":[0E0,1E0]}],)"
              R"("impedance_configurations":[{"numerator":"MAIN:1:POT:U~ZMU:1:ZMU_U",)"
              R"("denominator":"MAIN:1:POT:I~ZMU:1:ZMU_I","impedance_name":""}]})");
}

TEST(SetHardwareSettingsRequest, EmptyListsAndEmptyPolynomialAreWritten)
{
    EXPECT_EQ(json::serialize(json::value_from(SetHardwareSettingsParameters{})),
              R"({"output_potentiostats":[],"channels":[],"impedance_configurations":[]})");
    SetHardwareSettingsParameters parameters;
    parameters.channels.push_back(Channel{});
    parameters.channels[0].polynomial.coefficients.clear();
    EXPECT_EQ(json::serialize(json::value_from(parameters).at("channels")),
              R"([{"uri":"","dimension":"","unit":"","polynomial":[]}])");
}

TEST(SetHardwareSettingsRequest, ReadsBackEqual)
{
    auto parameters = fromUser(HardwareSettingsHelper::getConfigForPotentiostatWithSyncChannelImpedance(
        "354531", {{{1, 1, UserPolynomial({0.25, 3.0}), "pH", "mV"}, {1, 2, {}, "", ""}, "cell"}}));
    EXPECT_EQ(json::value_to<SetHardwareSettingsParameters>(json::value_from(parameters)), parameters);

    const auto missing = json::parse(R"({"output_potentiostats": [], "impedance_configurations": []})");
    EXPECT_THROW((void)json::value_to<SetHardwareSettingsParameters>(missing), boost::system::system_error);
}

TEST(HardwareSettingsJson, AdoptedSettingsRead)
{
    const auto settings = json::value_to<HardwareSettings>(json::parse(kAdopted));
    ASSERT_EQ(settings.sync_channels.size(), 2U);
    EXPECT_EQ(settings.sync_channels[0].polynomial, UserPolynomial({0.0, 1.0}));
    EXPECT_EQ(settings.sync_channels[1].polynomial, UserPolynomial({0.5}));
    EXPECT_EQ(settings.impedance_configurations,
              (std::vector<ImpedanceConfiguration>{{"a", "b", "cell"}, {}, {}, {}}));
    ASSERT_EQ(settings.async_channels.size(), 1U);
    EXPECT_EQ(settings.async_channels[0].polynomial, UserPolynomial({0.0, 1.0}));
    ASSERT_EQ(settings.output_potentiostats.size(), 1U);
    EXPECT_EQ(settings.output_potentiostats[0].uri, "nc:33000:POT");
    EXPECT_EQ(settings.output_potentiostats[0].potentiostatic_polynomial, UserPolynomial({0.0, 1.0}));
    EXPECT_EQ(settings.output_potentiostats[0].galvanostatic_polynomial, UserPolynomial({0.0, 1.0}));

    EXPECT_EQ(json::value_to<HardwareSettings>(json::parse(
                  R"({"sync_channels": [], "impedance_configurations": [], "async_channels": [],)"
                  R"( "output_potentiostats": []})")),
              HardwareSettings{});
}

struct BrokenSettings {
    const char* what;
    std::function<void(json::object&)> breakIt;
    json::error expected;
};

class HardwareSettingsJsonErrors : public ::testing::TestWithParam<BrokenSettings> {};

TEST_P(HardwareSettingsJsonErrors, FirstFailureIsReported)
{
    auto value = json::parse(kAdopted);
    GetParam().breakIt(value.as_object());
    EXPECT_EQ(readingError(value), GetParam().expected) << GetParam().what;
}

namespace {

json::object& firstSync(json::object& settings)
{
    return settings.at("sync_channels").as_array().at(0).as_object();
}

} // namespace

INSTANTIATE_TEST_SUITE_P(
    Table, HardwareSettingsJsonErrors,
    ::testing::Values(
        BrokenSettings{"no async_channels", [](json::object& s) { s.erase("async_channels"); },
                       json::error::size_mismatch},
        BrokenSettings{"channel without polynomial", [](json::object& s) { firstSync(s).erase("polynomial"); },
                       json::error::size_mismatch},
        BrokenSettings{"uri is a number", [](json::object& s) { firstSync(s)["uri"] = 5; }, json::error::not_string},
        BrokenSettings{"polynomial element is text",
                       [](json::object& s) { firstSync(s)["polynomial"] = json::array{1, "x"}; },
                       json::error::not_number},
        BrokenSettings{"channel is a number", [](json::object& s) { s.at("sync_channels").as_array().at(0) = 3; },
                       json::error::not_object},
        BrokenSettings{"impedances not an array", [](json::object& s) { s["impedance_configurations"] = "x"; },
                       json::error::not_array}));
