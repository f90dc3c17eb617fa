#pragma once

#include "marlek_json_common/json_common/configuration/impedance_configuration.hpp"
#include "marlek_link_json/jobs/control/hardware_settings/channel.hpp"
#include "marlek_link_json/jobs/control/hardware_settings/potentiostat_configuration.hpp"
#include "marlek_link_json/jobs/control/hardware_settings/zmu4_connection.hpp"

#include <vector>

// A configuration to be set, as the HardwareSettingsHelper builders make it;
// it carries the same lists as the "set_hardware_settings" parameters.
struct UserHardwareSettings {
    std::vector<Channel> channels;
    std::vector<ImpedanceConfiguration> impedance_configurations;
    std::vector<PotentiostatConfiguration> output_potentiostats;

    // Appends one channel per connection ("voltage-ZMU4-{card}-CH{connector}",
    // "V" where the connection names none) and one impedance per connection
    // over the potentiostat's current channel. Removes nothing.
    void addSyncVoltageChannel(const std::vector<Zmu4Connection>& connections);
    // The same with "current-ZMU4-…" and "A", over the potentiostat's voltage
    // channel.
    void addSyncCurrentChannel(const std::vector<Zmu4Connection>& connections);
    // Keeps the first channel of every uri, in order; only the uri counts.
    void removeDuplicatesFromChannels();

    friend bool operator==(const UserHardwareSettings&, const UserHardwareSettings&) = default;
};
