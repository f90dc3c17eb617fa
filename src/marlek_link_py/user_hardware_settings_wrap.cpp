// UserHardwareSettings, the sampling configuration a script sets, and
// HardwareSettingsHelper, the builders of the configurations of common
// setups. Each builder returns a new configuration that Python owns.

#include "marlek_link_py/init_wrap.hpp"
#include "marlek_link_py/record_list.hpp"

#include "marlek_link_json/jobs/control/hardware_settings/hardware_settings_helper.hpp"
#include "marlek_link_json/jobs/control/hardware_settings/user_hardware_settings.hpp"

#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <string>
#include <vector>

namespace py = pybind11;

namespace {

// The core calls may append to or rewrite any of the three lists.
void detachAll(UserHardwareSettings& settings)
{
    record_list::detach(settings.channels);
    record_list::detach(settings.impedance_configurations);
    record_list::detach(settings.output_potentiostats);
}

void registerUserHardwareSettings(py::module_& m)
{
    py::class_<UserHardwareSettings> cls(m, "UserHardwareSettings");
    cls.def(py::init([](std::vector<Channel> channels, std::vector<ImpedanceConfiguration> impedances,
                        std::vector<PotentiostatConfiguration> potentiostats) {
                return UserHardwareSettings{std::move(channels), std::move(impedances), std::move(potentiostats)};
            }),
            py::arg("channels"), py::arg("impedance_configurations"), py::arg("output_potentiostats"),
            "\n    A sampling configuration to be set on the workstation.\n\n"
            "    :param channels: the :class:`marlek_link.Channel` objects to be measured\n"
            "    :param impedance_configurations: the :class:`marlek_link.ImpedanceConfiguration` objects\n"
            "    :param output_potentiostats: the :class:`marlek_link.PotentiostatConfiguration` objects\n");
    record_list::property(cls, "channels", &UserHardwareSettings::channels,
                          "the channels to be measured, synchronous and asynchronous together");
    record_list::property(cls, "impedance_configurations", &UserHardwareSettings::impedance_configurations,
                          "which pairs of channels give an impedance (numerator, denominator, name)");
    record_list::property(cls, "output_potentiostats", &UserHardwareSettings::output_potentiostats,
                          "the potentiostats on which the measurement is output");
    cls.def(
           "add_sync_current_channel",
           [](UserHardwareSettings& settings, const std::vector<Zmu4Connection>& connections) {
               detachAll(settings);
               settings.addSyncCurrentChannel(connections);
           },
           py::arg("connections"),
           "\n    Add one ZMU4 current channel and one impedance against the potentiostat's voltage channel\n"
           "    per connection.\n")
        .def(
            "add_sync_voltage_channel",
            [](UserHardwareSettings& settings, const std::vector<Zmu4Connection>& connections) {
                detachAll(settings);
                settings.addSyncVoltageChannel(connections);
            },
            py::arg("connections"),
            "\n    Add one ZMU4 voltage channel and one impedance over the potentiostat's current channel\n"
            "    per connection.\n")
        .def(
            "add_channel",
            [](UserHardwareSettings& settings, const Channel& channel) {
                record_list::detach(settings.channels);
                settings.channels.push_back(channel);
            },
            py::arg("channel"), "append a copy of the channel")
        .def(
            "remove_duplicates_from_channels",
            [](UserHardwareSettings& settings) {
                detachAll(settings);
                settings.removeDuplicatesFromChannels();
            },
            "keep the first channel of every URI, the others in their order");
}

void registerHelper(py::module_& m)
{
    using Helper = HardwareSettingsHelper;
    using Connections = const std::vector<Zmu4Connection>&;
    using Impedances = const std::vector<Zmu4ImpedanceConfiguration>&;
    constexpr auto move = py::return_value_policy::move;

    py::class_<Helper> cls(m, "HardwareSettingsHelper");
    cls.def_static("get_config_for_main_potentiostat", &Helper::getConfigForMainPotentiostat, move,
                   "the base configuration of the main potentiostat")
        .def_static("get_config_for_potentiostat",
                    py::overload_cast<const std::string&>(&Helper::getConfigForPotentiostat), move,
                    py::arg("pot_serial_number"), "the base configuration of the potentiostat of this serial number")
        .def_static("get_config_for_potentiostat",
                    py::overload_cast<const PotConnection&>(&Helper::getConfigForPotentiostat), move,
                    py::arg("pot_connection"), "the base configuration of the external potentiostat in this slot")
        .def_static("get_config_for_main_with_sync_voltage_channel", &Helper::getConfigForMainWithSyncVoltageChannel,
                    move, py::arg("connections"),
                    "the main potentiostat's configuration with one ZMU4 voltage channel per connection")
        .def_static("get_config_for_potentiostat_with_sync_voltage_channel",
                    py::overload_cast<const std::string&, Connections>(
                        &Helper::getConfigForPotentiostatWithSyncVoltageChannel),
                    move, py::arg("pot_serial_number"), py::arg("connections"),
                    "a potentiostat's configuration with one ZMU4 voltage channel per connection")
        .def_static("get_config_for_potentiostat_with_sync_voltage_channel",
                    py::overload_cast<const PotConnection&, Connections>(
                        &Helper::getConfigForPotentiostatWithSyncVoltageChannel),
                    move, py::arg("pot_connection"), py::arg("connections"),
                    "an external potentiostat's configuration with one ZMU4 voltage channel per connection; "
                    "duplicate channels are kept")
        .def_static("get_config_for_main_with_sync_current_channel", &Helper::getConfigForMainWithSyncCurrentChannel,
                    move, py::arg("connections"),
                    "the main potentiostat's configuration with one ZMU4 current channel per connection")
        .def_static("get_config_for_potentiostat_with_sync_current_channel",
                    py::overload_cast<const std::string&, Connections>(
                        &Helper::getConfigForPotentiostatWithSyncCurrentChannel),
                    move, py::arg("pot_serial_number"), py::arg("connections"),
                    "a potentiostat's configuration with one ZMU4 current channel per connection")
        .def_static("get_config_for_potentiostat_with_sync_current_channel",
                    py::overload_cast<const PotConnection&, Connections>(
                        &Helper::getConfigForPotentiostatWithSyncCurrentChannel),
                    move, py::arg("pot_connection"), py::arg("connections"),
                    "an external potentiostat's configuration with one ZMU4 current channel per connection")
        .def_static("get_config_for_main_with_sync_channel_impedance",
                    &Helper::getConfigForMainWithSyncChannelImpedance, move, py::arg("connections"),
                    "the main potentiostat's configuration with the ZMU4 channels and impedances of the list")
        .def_static("get_config_for_potentiostat_with_sync_channel_impedance",
                    py::overload_cast<const std::string&, Impedances>(
                        &Helper::getConfigForPotentiostatWithSyncChannelImpedance),
                    move, py::arg("pot_serial_number"), py::arg("connections"),
                    "a potentiostat's configuration with the ZMU4 channels and impedances of the list")
        .def_static("get_config_for_potentiostat_with_sync_channel_impedance",
                    py::overload_cast<const PotConnection&, Impedances>(
                        &Helper::getConfigForPotentiostatWithSyncChannelImpedance),
                    move, py::arg("pot_connection"), py::arg("connections"),
                    "an external potentiostat's configuration with the ZMU4 channels and impedances of the list");

    cls.def_readonly_static("CHANNELS", &Helper::CHANNELS)
        .def_readonly_static("IMPEDANCE_CONFIGURATIONS", &Helper::IMPEDANCE_CONFIGURATIONS)
        .def_readonly_static("OUTPUT_POTENTIOSTATS", &Helper::OUTPUT_POTENTIOSTATS)
        .def_readonly_static("MAIN_POT", &Helper::MAIN_POT)
        .def_readonly_static("ZMU_U", &Helper::ZMU_U)
        .def_readonly_static("ZMU_I", &Helper::ZMU_I)
        .def_readonly_static("SEPARATOR", &Helper::SEPARATOR)
        .def_readonly_static("MAIN_POT_U_ZMU_U", &Helper::MAIN_POT_U_ZMU_U)
        .def_readonly_static("MAIN_POT_I_ZMU_I", &Helper::MAIN_POT_I_ZMU_I);
}

} // namespace

void init_user_hardware_settings_wrap(py::module_& m)
{
    registerUserHardwareSettings(m);
    registerHelper(m);
}
