#pragma once

#include "marlek_json_common/json_common/configuration/impedance_configuration.hpp"
#include "marlek_link_json/jobs/control/hardware_settings/channel.hpp"
#include "marlek_link_json/jobs/control/hardware_settings/potentiostat_configuration.hpp"

#include <boost/describe/class.hpp>

#include <vector>

// Job "set_hardware_settings": the configuration to apply. Every channel
// costs sampling rate, so only the needed ones should be listed.
struct SetHardwareSettingsParameters {
    // Synchronous and asynchronous together; the workstation splits them.
    std::vector<Channel> channels;
    std::vector<ImpedanceConfiguration> impedance_configurations;
    std::vector<PotentiostatConfiguration> output_potentiostats;

    friend bool operator==(const SetHardwareSettingsParameters&, const SetHardwareSettingsParameters&) = default;
};
// The workstation expects the potentiostats first: the description, and so
// the JSON key order, differs from the declaration.
BOOST_DESCRIBE_STRUCT(SetHardwareSettingsParameters, (), (output_potentiostats, channels, impedance_configurations))
