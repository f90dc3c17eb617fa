#pragma once

#include "marlek_json_common/json_common/configuration/impedance_configuration.hpp"
#include "marlek_link_json/jobs/control/hardware_settings/channel.hpp"
#include "marlek_link_json/jobs/control/hardware_settings/potentiostat_configuration.hpp"

#include <boost/describe/class.hpp>

#include <vector>

// The sampling configuration the workstation adopted: it splits the channels
// it was given into synchronous ones, sampled in parallel, and asynchronous
// ones, sampled one after another afterwards.
struct HardwareSettings {
    std::vector<Channel> sync_channels;
    std::vector<ImpedanceConfiguration> impedance_configurations;
    std::vector<Channel> async_channels;
    std::vector<PotentiostatConfiguration> output_potentiostats;

    friend bool operator==(const HardwareSettings&, const HardwareSettings&) = default;
};
BOOST_DESCRIBE_STRUCT(HardwareSettings, (),
                      (sync_channels, impedance_configurations, async_channels, output_potentiostats))
