#include "marlek_link_json/jobs/control/hardware_settings/hardware_settings_helper.hpp"

#include "marlek_json_common/json_common/text/format.hpp"

#include <set>

namespace {

UserHardwareSettings baseConfiguration(const std::string& potentiostat)
{
    const std::string voltage = potentiostat + ":U" + HardwareSettingsHelper::SEPARATOR + HardwareSettingsHelper::ZMU_U;
    const std::string current = potentiostat + ":I" + HardwareSettingsHelper::SEPARATOR + HardwareSettingsHelper::ZMU_I;
    UserHardwareSettings settings;
    settings.channels = {Channel{voltage, "voltage", "V", {}}, Channel{current, "current", "A", {}}};
    settings.impedance_configurations = {ImpedanceConfiguration{voltage, current, ""}};
    settings.output_potentiostats = {PotentiostatConfiguration{potentiostat, {}, {}}};
    return settings;
}

UserHardwareSettings withSyncVoltage(UserHardwareSettings settings, const std::vector<Zmu4Connection>& connections)
{
    settings.addSyncVoltageChannel(connections);
    settings.removeDuplicatesFromChannels();
    return settings;
}

UserHardwareSettings withSyncCurrent(UserHardwareSettings settings, const std::vector<Zmu4Connection>& connections)
{
    settings.addSyncCurrentChannel(connections);
    settings.removeDuplicatesFromChannels();
    return settings;
}

UserHardwareSettings withChannelImpedances(UserHardwareSettings settings,
                                           const std::vector<Zmu4ImpedanceConfiguration>& impedances)
{
    std::set<Zmu4Connection> connections;
    for (const auto& impedance : impedances) {
        connections.insert(impedance.numerator);
        connections.insert(impedance.denominator);
    }
    for (const auto& connection : connections) {
        settings.channels.push_back(Channel{
            connection.getPath(),
            connection.dimension.empty() ? connection.getChannelName() : connection.dimension,
            connection.unit,
            connection.polynomial,
        });
    }
    for (const auto& impedance : impedances) {
        settings.impedance_configurations.push_back(ImpedanceConfiguration{
            impedance.numerator.getPath(),
            impedance.denominator.getPath(),
            impedance.impedance_name.empty()
                ? impedance.numerator.getChannelName() + "/" + impedance.denominator.getChannelName()
                : impedance.impedance_name,
        });
    }
    settings.removeDuplicatesFromChannels();
    return settings;
}

} // namespace

std::string HardwareSettingsHelper::getPotentiostatUrn(const std::string& serial)
{
    if (serial.find(MAIN_POT) != std::string::npos) {
        return serial;
    }
    return serial + ":POT";
}

std::string HardwareSettingsHelper::getPotentiostatUrl(const PotConnection& connection)
{
    return mfmt::format("XPC:{}:EXT{}:POT", connection.card_index, connection.connector_index);
}

std::string HardwareSettingsHelper::getPotentiostatPath(const std::string& serial, const std::string& signal,
                                                        const std::string& input)
{
    return getPotentiostatUrn(serial) + ":" + signal + SEPARATOR + input;
}

std::string HardwareSettingsHelper::getPotentiostatPath(const PotConnection& connection, const std::string& signal,
                                                        const std::string& input)
{
    return getPotentiostatUrl(connection) + ":" + signal + SEPARATOR + input;
}

UserHardwareSettings HardwareSettingsHelper::getConfigForMainPotentiostat()
{
    return baseConfiguration(MAIN_POT);
}

UserHardwareSettings HardwareSettingsHelper::getConfigForPotentiostat(const std::string& serial)
{
    return baseConfiguration(getPotentiostatUrn(serial));
}

UserHardwareSettings HardwareSettingsHelper::getConfigForPotentiostat(const PotConnection& connection)
{
    return baseConfiguration(getPotentiostatUrl(connection));
}

UserHardwareSettings HardwareSettingsHelper::getConfigForMainWithSyncVoltageChannel(
    const std::vector<Zmu4Connection>& connections)
{
    return withSyncVoltage(getConfigForPotentiostat(MAIN_POT), connections);
}

UserHardwareSettings HardwareSettingsHelper::getConfigForPotentiostatWithSyncVoltageChannel(
    const std::string& serial, const std::vector<Zmu4Connection>& connections)
{
    return withSyncVoltage(getConfigForPotentiostat(serial), connections);
}

UserHardwareSettings HardwareSettingsHelper::getConfigForPotentiostatWithSyncVoltageChannel(
    const PotConnection& connection, const std::vector<Zmu4Connection>& connections)
{
    auto settings = getConfigForPotentiostat(connection);
    settings.addSyncVoltageChannel(connections);
    return settings;
}

UserHardwareSettings HardwareSettingsHelper::getConfigForMainWithSyncCurrentChannel(
    const std::vector<Zmu4Connection>& connections)
{
    return withSyncCurrent(getConfigForPotentiostat(MAIN_POT), connections);
}

UserHardwareSettings HardwareSettingsHelper::getConfigForPotentiostatWithSyncCurrentChannel(
    const std::string& serial, const std::vector<Zmu4Connection>& connections)
{
    return withSyncCurrent(getConfigForPotentiostat(serial), connections);
}

UserHardwareSettings HardwareSettingsHelper::getConfigForPotentiostatWithSyncCurrentChannel(
    const PotConnection& connection, const std::vector<Zmu4Connection>& connections)
{
    return withSyncCurrent(getConfigForPotentiostat(connection), connections);
}

UserHardwareSettings HardwareSettingsHelper::getConfigForMainWithSyncChannelImpedance(
    const std::vector<Zmu4ImpedanceConfiguration>& impedances)
{
    return getConfigForPotentiostatWithSyncChannelImpedance(MAIN_POT, impedances);
}

UserHardwareSettings HardwareSettingsHelper::getConfigForPotentiostatWithSyncChannelImpedance(
    const std::string& serial, const std::vector<Zmu4ImpedanceConfiguration>& impedances)
{
    return withChannelImpedances(getConfigForPotentiostat(serial), impedances);
}

UserHardwareSettings HardwareSettingsHelper::getConfigForPotentiostatWithSyncChannelImpedance(
    const PotConnection& connection, const std::vector<Zmu4ImpedanceConfiguration>& impedances)
{
    return withChannelImpedances(getConfigForPotentiostat(connection), impedances);
}
