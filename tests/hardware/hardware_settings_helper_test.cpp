#include "marlek_link_json/jobs/control/hardware_settings/hardware_settings_helper.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <set>

using H = HardwareSettingsHelper;

namespace {

const std::string U = "MAIN:1:POT:U~ZMU:1:ZMU_U";
const std::string I = "MAIN:1:POT:I~ZMU:1:ZMU_I";

Zmu4Connection zmu4(std::uint64_t card, std::uint64_t connector, std::string dimension = "", std::string unit = "",
                    UserPolynomial polynomial = {})
{
    return Zmu4Connection{card, connector, std::move(polynomial), std::move(dimension), std::move(unit)};
}

Channel channel(std::string uri, std::string dimension, std::string unit, UserPolynomial polynomial = {})
{
    return Channel{std::move(uri), std::move(dimension), std::move(unit), std::move(polynomial)};
}

UserHardwareSettings base(const std::string& pot)
{
    const auto u = pot + ":U~ZMU:1:ZMU_U";
    const auto i = pot + ":I~ZMU:1:ZMU_I";
    return {{channel(u, "voltage", "V"), channel(i, "current", "A")}, {{u, i, ""}}, {{pot, {}, {}}}};
}

UserHardwareSettings plus(UserHardwareSettings settings, std::vector<Channel> channels,
                          std::vector<ImpedanceConfiguration> impedances)
{
    settings.channels.insert(settings.channels.end(), channels.begin(), channels.end());
    settings.impedance_configurations.insert(settings.impedance_configurations.end(), impedances.begin(),
                                             impedances.end());
    return settings;
}

const std::string CH1 = "ZMU4:1:CH1~ZMU4:1:ADC1";
const std::string CH2 = "ZMU4:1:CH2~ZMU4:1:ADC2";
const std::string CH3 = "ZMU4:1:CH3~ZMU4:1:ADC3";

} // namespace

TEST(DeviceAddresses, UrnsUrlsPathsAndNames)
{
    EXPECT_EQ(H::getPotentiostatUrn("354531"), "354531:POT");
    EXPECT_EQ(H::getPotentiostatUrn("MAIN:1:POT"), "MAIN:1:POT");
    EXPECT_EQ(H::getPotentiostatUrn(""), ":POT");
    // Kept as it has always been: only "MAIN:1:POT" is recognised as an
    // address, anything else gets the suffix again.
    EXPECT_EQ(H::getPotentiostatUrn("354531:POT"), "354531:POT:POT");
    EXPECT_EQ(H::getPotentiostatUrn("XPC:1:EXT2:POT"), "XPC:1:EXT2:POT:POT");
    EXPECT_EQ(H::getPotentiostatUrl({0, 0}), "XPC:0:EXT0:POT");
    EXPECT_EQ(H::getPotentiostatUrl({12, 3}), "XPC:12:EXT3:POT");
    EXPECT_EQ(H::getPotentiostatPath("354531", "U", H::ZMU_U), "354531:POT:U~ZMU:1:ZMU_U");
    EXPECT_EQ(H::getPotentiostatPath(PotConnection{1, 2}, "I", H::ZMU_I), "XPC:1:EXT2:POT:I~ZMU:1:ZMU_I");
    EXPECT_EQ(zmu4(2, 4).getPath(), "ZMU4:2:CH4~ZMU4:2:ADC4");
    EXPECT_EQ(zmu4(2, 4).getChannelName(), "ZMU4-2-CH4");
    EXPECT_EQ(H::MAIN_POT_U_ZMU_U, H::MAIN_POT + ":U" + H::SEPARATOR + H::ZMU_U);
    EXPECT_EQ(H::MAIN_POT_I_ZMU_I, H::MAIN_POT + ":I" + H::SEPARATOR + H::ZMU_I);
}

struct BuilderCase {
    const char* what;
    std::function<UserHardwareSettings()> build;
    UserHardwareSettings expected;
};

class HardwareSettingsBuilders : public ::testing::TestWithParam<BuilderCase> {};

TEST_P(HardwareSettingsBuilders, BuildTheListedConfiguration)
{
    const auto built = GetParam().build();
    EXPECT_EQ(built.channels, GetParam().expected.channels) << GetParam().what;
    EXPECT_EQ(built.impedance_configurations, GetParam().expected.impedance_configurations) << GetParam().what;
    EXPECT_EQ(built.output_potentiostats, GetParam().expected.output_potentiostats) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Table, HardwareSettingsBuilders,
    ::testing::Values(
        BuilderCase{"main", [] { return H::getConfigForMainPotentiostat(); }, base("MAIN:1:POT")},
        BuilderCase{"serial naming the main potentiostat", [] { return H::getConfigForPotentiostat("MAIN:1:POT"); },
                    base("MAIN:1:POT")},
        BuilderCase{"serial", [] { return H::getConfigForPotentiostat("354531"); }, base("354531:POT")},
        BuilderCase{"XPC slot", [] { return H::getConfigForPotentiostat(PotConnection{1, 2}); },
                    base("XPC:1:EXT2:POT")},
        BuilderCase{"main with a voltage channel",
                    [] { return H::getConfigForMainWithSyncVoltageChannel({zmu4(1, 1)}); },
                    plus(base("MAIN:1:POT"), {channel(CH1, "voltage-ZMU4-1-CH1", "V")}, {{CH1, I, "ZMU4-1-CH1"}})},
        BuilderCase{"main with a current channel",
                    [] { return H::getConfigForMainWithSyncCurrentChannel({zmu4(1, 1)}); },
                    plus(base("MAIN:1:POT"), {channel(CH1, "current-ZMU4-1-CH1", "A")}, {{CH1, U, "ZMU4-1-CH1"}})},
        BuilderCase{"own dimension, unit and polynomial are kept",
                    [] {
                        return H::getConfigForMainWithSyncVoltageChannel(
                            {zmu4(1, 2, "pH", "mV", UserPolynomial({7.0, -0.06}))});
                    },
                    plus(base("MAIN:1:POT"), {channel(CH2, "pH", "mV", UserPolynomial({7.0, -0.06}))},
                         {{CH2, I, "ZMU4-1-CH2"}})},
        BuilderCase{"serial with the same connection twice",
                    [] {
                        return H::getConfigForPotentiostatWithSyncVoltageChannel("354531", {zmu4(1, 1), zmu4(1, 1)});
                    },
                    plus(base("354531:POT"), {channel(CH1, "voltage-ZMU4-1-CH1", "V")},
                         {{CH1, "354531:POT:I~ZMU:1:ZMU_I", "ZMU4-1-CH1"},
                          {CH1, "354531:POT:I~ZMU:1:ZMU_I", "ZMU4-1-CH1"}})},
        BuilderCase{"XPC slot with the same voltage connection twice keeps both channels",
                    [] {
                        return H::getConfigForPotentiostatWithSyncVoltageChannel(PotConnection{1, 2},
                                                                                 {zmu4(1, 1), zmu4(1, 1)});
                    },
                    plus(base("XPC:1:EXT2:POT"),
                         {channel(CH1, "voltage-ZMU4-1-CH1", "V"), channel(CH1, "voltage-ZMU4-1-CH1", "V")},
                         {{CH1, "XPC:1:EXT2:POT:I~ZMU:1:ZMU_I", "ZMU4-1-CH1"},
                          {CH1, "XPC:1:EXT2:POT:I~ZMU:1:ZMU_I", "ZMU4-1-CH1"}})},
        BuilderCase{"XPC slot with the same current connection twice",
                    [] {
                        return H::getConfigForPotentiostatWithSyncCurrentChannel(PotConnection{1, 2},
                                                                                 {zmu4(1, 1), zmu4(1, 1)});
                    },
                    plus(base("XPC:1:EXT2:POT"), {channel(CH1, "current-ZMU4-1-CH1", "A")},
                         {{CH1, "XPC:1:EXT2:POT:U~ZMU:1:ZMU_U", "ZMU4-1-CH1"},
                          {CH1, "XPC:1:EXT2:POT:U~ZMU:1:ZMU_U", "ZMU4-1-CH1"}})},
        BuilderCase{"serial with current channels",
                    [] { return H::getConfigForPotentiostatWithSyncCurrentChannel("7", {zmu4(1, 3), zmu4(1, 1)}); },
                    plus(base("7:POT"),
                         {channel(CH3, "current-ZMU4-1-CH3", "A"), channel(CH1, "current-ZMU4-1-CH1", "A")},
                         {{CH3, "7:POT:U~ZMU:1:ZMU_U", "ZMU4-1-CH3"}, {CH1, "7:POT:U~ZMU:1:ZMU_U", "ZMU4-1-CH1"}})},
        BuilderCase{"impedances between ZMU4 channels",
                    [] {
                        return H::getConfigForMainWithSyncChannelImpedance(
                            {{zmu4(1, 2), zmu4(1, 3), ""}, {zmu4(1, 1), zmu4(1, 2), ""}});
                    },
                    plus(base("MAIN:1:POT"),
                         {channel(CH1, "ZMU4-1-CH1", ""), channel(CH2, "ZMU4-1-CH2", ""),
                          channel(CH3, "ZMU4-1-CH3", "")},
                         {{CH2, CH3, "ZMU4-1-CH2/ZMU4-1-CH3"}, {CH1, CH2, "ZMU4-1-CH1/ZMU4-1-CH2"}})},
        BuilderCase{"named impedance; one connector with two polynomials gives one channel, the smaller first",
                    [] {
                        return H::getConfigForPotentiostatWithSyncChannelImpedance(
                            PotConnection{0, 1},
                            {{zmu4(1, 1, "", "V", UserPolynomial({1.0})),
                              zmu4(1, 1, "", "V", UserPolynomial({0.0, 2.0})), "cell"}});
                    },
                    plus(base("XPC:0:EXT1:POT"), {channel(CH1, "ZMU4-1-CH1", "V", UserPolynomial({0.0, 2.0}))},
                         {{CH1, CH1, "cell"}})},
        BuilderCase{"no connections", [] { return H::getConfigForMainWithSyncVoltageChannel({}); }, base("MAIN:1:POT")},
        BuilderCase{"no impedances",
                    [] { return H::getConfigForPotentiostatWithSyncChannelImpedance("354531", {}); },
                    base("354531:POT")}));

TEST(UserHardwareSettings, SyncChannelsWithoutAPotentiostatHaveNoDenominator)
{
    UserHardwareSettings settings;
    settings.addSyncCurrentChannel({zmu4(3, 1), zmu4(3, 1)});
    ASSERT_EQ(settings.channels.size(), 2U);
    ASSERT_EQ(settings.impedance_configurations.size(), 2U);
    for (const auto& impedance : settings.impedance_configurations) {
        EXPECT_EQ(impedance.denominator, "");
    }
    settings.removeDuplicatesFromChannels();
    EXPECT_EQ(settings.channels.size(), 1U);
    EXPECT_EQ(settings.impedance_configurations.size(), 2U);
}

TEST(UserHardwareSettings, RemoveDuplicatesKeepsTheFirstOfEachUri)
{
    UserHardwareSettings settings;
    settings.channels = {channel("A", "a", "1"), channel("B", "b", "2"), channel("A", "other", "3"),
                         channel("C", "c", "4")};
    settings.removeDuplicatesFromChannels();
    EXPECT_EQ(settings.channels,
              (std::vector<Channel>{channel("A", "a", "1"), channel("B", "b", "2"), channel("C", "c", "4")}));
}

// Connections with NaN coefficients must still sort consistently, or the
// set of connections of an impedance builder loses or repeats channels.
TEST(Zmu4ConnectionOrder, StrictWeakOrderAlsoWithNan)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::vector<Zmu4Connection> connections = {
        zmu4(1, 1, "", "", UserPolynomial({nan})), zmu4(1, 1, "", "", UserPolynomial({0.0})),
        zmu4(1, 1, "", "", UserPolynomial({nan, 1.0})), zmu4(1, 1, "", "", UserPolynomial({nan})),
        zmu4(1, 1, "b", "", UserPolynomial({nan})), zmu4(0, 9), zmu4(1, 1, "", "x", UserPolynomial({nan})),
        zmu4(1, 1, "", "", UserPolynomial({0.0}))};
    for (const auto& a : connections) {
        EXPECT_FALSE(a < a);
        for (const auto& b : connections) {
            EXPECT_FALSE(a < b && b < a);
            for (const auto& c : connections) {
                if (a < b && b < c) {
                    EXPECT_TRUE(a < c);
                }
                const bool abEquivalent = !(a < b) && !(b < a);
                const bool bcEquivalent = !(b < c) && !(c < b);
                if (abEquivalent && bcEquivalent) {
                    EXPECT_TRUE(!(a < c) && !(c < a));
                }
            }
        }
    }
    const std::set<Zmu4Connection> sorted(connections.begin(), connections.end());
    EXPECT_EQ(sorted.size(), 6U);
    EXPECT_EQ(sorted.begin()->card_index, 0U);

    EXPECT_TRUE(zmu4(1, 2) < zmu4(2, 1));
    EXPECT_TRUE(zmu4(1, 1, "a") < zmu4(1, 1, "b"));
    EXPECT_TRUE(zmu4(1, 1, "a", "V") < zmu4(1, 1, "a", "VV"));
    EXPECT_FALSE(zmu4(1, 1, "a", "V") < zmu4(1, 1, "a", "V"));
}
