// The sampling configuration: HardwareSettings as the workstation adopted it,
// and its building blocks Channel, ImpedanceConfiguration and
// Zmu4ImpedanceConfiguration, with the polynomial and connection classes
// they are made of.

#include "marlek_link_py/data_text.hpp"
#include "marlek_link_py/hardware_settings_parts.hpp"
#include "marlek_link_py/init_wrap.hpp"
#include "marlek_link_py/record_list.hpp"

#include "marlek_json_common/json_common/configuration/impedance_configuration.hpp"
#include "marlek_link_json/jobs/control/hardware_settings/hardware_settings.hpp"
#include "marlek_link_json/jobs/control/hardware_settings/zmu4_connection.hpp"

#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <string>

namespace py = pybind11;

namespace {

void registerHardwareSettings(py::module_& m)
{
    py::class_<HardwareSettings> cls(m, "HardwareSettings",
                                     "\n    The sampling configuration the workstation has adopted.\n\n"
                                     "    Returned by the hardware-settings query job; it cannot be created.\n");
    record_list::property(cls, "sync_channels", &HardwareSettings::sync_channels,
                          "channels that the workstation samples synchronously");
    record_list::property(cls, "impedance_configurations", &HardwareSettings::impedance_configurations,
                          "pairs of channels that are divided to give impedances");
    record_list::property(cls, "async_channels", &HardwareSettings::async_channels,
                          "channels sampled one after another after the synchronous channels; they are measured "
                          "only sequentially, which slows down the internal oversampling");
    record_list::property(cls, "output_potentiostats", &HardwareSettings::output_potentiostats,
                          "potentiostats on which the measurement is output");
}

void registerChannel(py::module_& m)
{
    py::class_<Channel>(m, "Channel")
        .def(py::init([](std::string uri, std::string dimension, std::string unit, const UserPolynomial& polynomial) {
                 return Channel{std::move(uri), std::move(dimension), std::move(unit), polynomial};
             }),
             py::arg("uri"), py::arg("dimension"), py::arg("unit"), py::arg("polynomial"),
             "\n    One sampled channel.\n\n"
             "    :param uri: two device paths joined by \"~\", for example \"MAIN:1:POT:U~ZMU:1:ZMU_U\"\n"
             "    :param dimension: dimension of the channel\n"
             "    :param unit: unit of the channel\n"
             "    :param polynomial: :class:`marlek_link.UserPolynomial` giving the channel's DC value\n")
        .def_property("uri", dataTextField(&Channel::uri), textFieldSetter(&Channel::uri),
                      "identifier of the channel: two device paths joined by \"~\"")
        .def_property("dimension", dataTextField(&Channel::dimension), textFieldSetter(&Channel::dimension),
                      "dimension of the channel")
        .def_property("unit", dataTextField(&Channel::unit), textFieldSetter(&Channel::unit), "unit of the channel")
        .def_readwrite("polynomial", &Channel::polynomial,
                       "polynomial giving the channel's DC value; it also enters the impedance calculation");
}

void registerImpedanceConfigurations(py::module_& m)
{
    py::class_<ImpedanceConfiguration>(m, "ImpedanceConfiguration")
        .def(py::init([](std::string numerator, std::string denominator, std::string name) {
                 return ImpedanceConfiguration{std::move(numerator), std::move(denominator), std::move(name)};
             }),
             py::arg("numerator"), py::arg("denominator"), py::arg("impedance_name") = "",
             "\n    An impedance computed as the complex quotient of two channels sampled in parallel.\n\n"
             "    :param numerator: URI of the channel that is divided\n"
             "    :param denominator: URI of the channel that it is divided by\n"
             "    :param impedance_name: human-readable name; may be empty\n")
        .def_property("numerator", dataTextField(&ImpedanceConfiguration::numerator),
                      textFieldSetter(&ImpedanceConfiguration::numerator), "URI of the channel that is divided")
        .def_property("denominator", dataTextField(&ImpedanceConfiguration::denominator),
                      textFieldSetter(&ImpedanceConfiguration::denominator), 
                       "URI of the channel that it is divided by")
        .def_property("impedance_name", dataTextField(&ImpedanceConfiguration::impedance_name),
                      textFieldSetter(&ImpedanceConfiguration::impedance_name), 
                       "human-readable name of this impedance; may be empty");

    py::class_<Zmu4ImpedanceConfiguration>(m, "Zmu4ImpedanceConfiguration")
        .def(py::init([](const Zmu4Connection& numerator, const Zmu4Connection& denominator, std::string name) {
                 return Zmu4ImpedanceConfiguration{numerator, denominator, std::move(name)};
             }),
             py::arg("numerator"), py::arg("denominator"), py::arg("impedance_name") = "",
             "\n    An impedance between two connectors of ZMU4 add-on cards.\n\n"
             "    :param numerator: :class:`marlek_link.Zmu4Connection` whose signal is divided\n"
             "    :param denominator: :class:`marlek_link.Zmu4Connection` whose signal it is divided by\n"
             "    :param impedance_name: human-readable name; when empty, the builders name the impedance\n"
             "        after the two connections\n")
        .def_readwrite("numerator", &Zmu4ImpedanceConfiguration::numerator,
                       "add-on card connector whose signal is divided")
        .def_readwrite("denominator", &Zmu4ImpedanceConfiguration::denominator,
                       "add-on card connector whose signal it is divided by")
        .def_property("impedance_name", dataTextField(&Zmu4ImpedanceConfiguration::impedance_name),
                      textFieldSetter(&Zmu4ImpedanceConfiguration::impedance_name), 
                       "human-readable name of this impedance; may be empty");
}

} // namespace

void init_hardware_settings_wrap(py::module_& m)
{
    registerHardwareSettings(m);
    register_user_polynomial(m);
    registerChannel(m);
    registerImpedanceConfigurations(m);
    register_connection_classes(m);
}
