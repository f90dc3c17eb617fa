#pragma once

#include "marlek_link_json/jobs/control/hardware_settings/pot_connection.hpp"
#include "marlek_link_json/jobs/control/hardware_settings/user_hardware_settings.hpp"
#include "marlek_link_json/jobs/control/hardware_settings/zmu4_connection.hpp"

#include <string>
#include <vector>

// Builders of the hardware configurations of common setups, and the device
// addresses they are made of. A base configuration of a potentiostat
// address P samples P's voltage and current ("P:U~ZMU:1:ZMU_U",
// "P:I~ZMU:1:ZMU_I"), computes their quotient as impedance and outputs on P.
class HardwareSettingsHelper {
public:
    static inline const std::string CHANNELS{"channels"};
    static inline const std::string IMPEDANCE_CONFIGURATIONS{"impedance_configurations"};
    static inline const std::string OUTPUT_POTENTIOSTATS{"output_potentiostats"};
    static inline const std::string MAIN_POT{"MAIN:1:POT"};
    static inline const std::string ZMU_U{"ZMU:1:ZMU_U"};
    static inline const std::string ZMU_I{"ZMU:1:ZMU_I"};
    static inline const std::string SEPARATOR{"~"};
    static inline const std::string MAIN_POT_U_ZMU_U{"MAIN:1:POT:U~ZMU:1:ZMU_U"};
    static inline const std::string MAIN_POT_I_ZMU_I{"MAIN:1:POT:I~ZMU:1:ZMU_I"};

    // serial + ":POT"; a text containing "MAIN:1:POT" is returned unchanged.
    // Any other address, a urn or an XPC url too, gets the suffix again.
    static std::string getPotentiostatUrn(const std::string& serial);
    // "XPC:{card}:EXT{connector}:POT"
    static std::string getPotentiostatUrl(const PotConnection& connection);
    // urn/url + ":" + signal + "~" + input
    static std::string getPotentiostatPath(const std::string& serial, const std::string& signal,
                                           const std::string& input);
    static std::string getPotentiostatPath(const PotConnection& connection, const std::string& signal,
                                           const std::string& input);

    static UserHardwareSettings getConfigForMainPotentiostat();
    static UserHardwareSettings getConfigForPotentiostat(const std::string& serial);
    static UserHardwareSettings getConfigForPotentiostat(const PotConnection& connection);

    // The base configuration plus one ZMU4 voltage channel and impedance per
    // connection, channels de-duplicated by uri.
    static UserHardwareSettings getConfigForMainWithSyncVoltageChannel(const std::vector<Zmu4Connection>& connections);
    static UserHardwareSettings getConfigForPotentiostatWithSyncVoltageChannel(
        const std::string& serial, const std::vector<Zmu4Connection>& connections);
    // The one builder that keeps duplicate channels.
    static UserHardwareSettings getConfigForPotentiostatWithSyncVoltageChannel(
        const PotConnection& connection, const std::vector<Zmu4Connection>& connections);

    // The same with current channels.
    static UserHardwareSettings getConfigForMainWithSyncCurrentChannel(const std::vector<Zmu4Connection>& connections);
    static UserHardwareSettings getConfigForPotentiostatWithSyncCurrentChannel(
        const std::string& serial, const std::vector<Zmu4Connection>& connections);
    static UserHardwareSettings getConfigForPotentiostatWithSyncCurrentChannel(
        const PotConnection& connection, const std::vector<Zmu4Connection>& connections);

    // The base configuration plus every ZMU4 connection of the impedances
    // once (in Zmu4Connection order) and the impedances between them.
    static UserHardwareSettings getConfigForMainWithSyncChannelImpedance(
        const std::vector<Zmu4ImpedanceConfiguration>& impedances);
    static UserHardwareSettings getConfigForPotentiostatWithSyncChannelImpedance(
        const std::string& serial, const std::vector<Zmu4ImpedanceConfiguration>& impedances);
    static UserHardwareSettings getConfigForPotentiostatWithSyncChannelImpedance(
        const PotConnection& connection, const std::vector<Zmu4ImpedanceConfiguration>& impedances);
};
