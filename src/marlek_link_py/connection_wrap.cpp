// The hardware a sampling configuration names: output potentiostats
// (PotentiostatConfiguration), slots of external potentiostats
// (PotConnection) and connectors of ZMU4 add-on cards (Zmu4Connection).

#include "marlek_link_py/data_text.hpp"
#include "marlek_link_py/hardware_settings_parts.hpp"
#include "marlek_link_py/named_type.hpp"

#include "marlek_link_json/jobs/control/hardware_settings/pot_connection.hpp"
#include "marlek_link_json/jobs/control/hardware_settings/potentiostat_configuration.hpp"
#include "marlek_link_json/jobs/control/hardware_settings/zmu4_connection.hpp"

#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <cstdint>
#include <string>
#include <vector>

namespace py = pybind11;

namespace {

// A polynomial argument of the PotentiostatConfiguration constructor: any
// sequence of numbers (empty: the neutral polynomial), or a UserPolynomial
// taken as it is.
using PolynomialInput = NamedType<"collections.abc.Sequence[float] | _marlek_link.UserPolynomial">;

UserPolynomial polynomialArgument(const py::handle& argument)
{
    if (py::isinstance<py::sequence>(argument)) {
        std::vector<double> values;
        for (const py::handle item : argument) {
            values.push_back(item.cast<double>());
        }
        return UserPolynomial(std::move(values));
    }
    if (py::isinstance<UserPolynomial>(argument)) {
        return argument.cast<const UserPolynomial&>();
    }
    throw py::type_error("Expected sequence or UserPolynomial");
}

void registerPotentiostatConfiguration(py::module_& m)
{
    const py::list neutral = py::cast(std::vector<double>{0.0, 1.0});
    py::class_<PotentiostatConfiguration>(m, "PotentiostatConfiguration")
        .def(py::init([](std::string uri, const PolynomialInput& potentiostatic, const PolynomialInput& galvanostatic) {
                 auto potentiostaticPolynomial = polynomialArgument(potentiostatic);
                 auto galvanostaticPolynomial = polynomialArgument(galvanostatic);
                 return PotentiostatConfiguration{std::move(uri), std::move(potentiostaticPolynomial),
                                                  std::move(galvanostaticPolynomial)};
             }),
             py::arg("uri"), py::arg("potentiostatic_polynomial") = neutral,
             py::arg("galvanostatic_polynomial") = neutral,
             "\n    A potentiostat on which a measurement is output.\n\n"
             "    :param uri: \"MAIN:1:POT\", a serial-number URN ending in \":POT\" or\n"
             "        \"XPC:{card}:EXT{connector}:POT\"\n"
             "    :param potentiostatic_polynomial: sequence of coefficients or :class:`marlek_link.UserPolynomial`\n"
             "    :param galvanostatic_polynomial: sequence of coefficients or :class:`marlek_link.UserPolynomial`\n")
        .def(
            "__assign__",
            [](PotentiostatConfiguration& self, std::string uri) -> PotentiostatConfiguration& {
                self.uri = std::move(uri);
                return self;
            },
            py::return_value_policy::reference_internal, "set the URI, keeping the polynomials")
        .def_property("uri", dataTextField(&PotentiostatConfiguration::uri),
                      textFieldSetter(&PotentiostatConfiguration::uri), "identifier of the potentiostat as a URI")
        .def_readwrite("potentiostatic_polynomial", &PotentiostatConfiguration::potentiostatic_polynomial,
                       "polynomial of the potentiostatic output for the reference electrode and the frequency "
                       "response analyser")
        .def_readwrite("galvanostatic_polynomial", &PotentiostatConfiguration::galvanostatic_polynomial,
                       "polynomial of the galvanostatic output for the frequency response analyser");
}

void registerPotConnection(py::module_& m)
{
    py::class_<PotConnection>(m, "PotConnection")
        .def(py::init([](std::uint64_t card, std::uint64_t connector) { return PotConnection{card, connector}; }),
             py::arg("card_index"), py::arg("connector_index"),
             "\n    The slot of an external potentiostat on an external potentiostat controller card.\n\n"
             "    :param card_index: index of the card\n"
             "    :param connector_index: index of the connector on that card\n")
        .def_readwrite("card_index", &PotConnection::card_index,
                       "index of the card to which the potentiostat is connected")
        .def_readwrite("connector_index", &PotConnection::connector_index,
                       "index of the connector on that card to which the potentiostat is connected");
}

void registerZmu4Connection(py::module_& m)
{
    py::class_<Zmu4Connection>(m, "Zmu4Connection")
        .def(py::init([](std::uint64_t card, std::uint64_t connector, const UserPolynomial& polynomial,
                         std::string dimension, std::string unit) {
                 return Zmu4Connection{card, connector, polynomial, std::move(dimension), std::move(unit)};
             }),
             py::arg("card_index"), py::arg("connector_index"),
             py::arg_v("polynomial", UserPolynomial(), "UserPolynomial([0.0, 1.0])"), py::arg("dimension") = "",
             py::arg("unit") = "",
             "\n    One connector of a ZMU4 add-on card.\n\n"
             "    :param card_index: index of the ZMU4 card\n"
             "    :param connector_index: index of the connector on the card\n"
             "    :param polynomial: :class:`marlek_link.UserPolynomial` giving the channel's DC value\n"
             "    :param dimension: dimension of the channel; empty lets the builders name one\n"
             "    :param unit: unit of the channel; may be empty\n")
        .def_readwrite("card_index", &Zmu4Connection::card_index, "index of the ZMU4 card")
        .def_readwrite("connector_index", &Zmu4Connection::connector_index,
                       "index of the connector on the ZMU4 card")
        .def_readwrite("polynomial", &Zmu4Connection::polynomial,
                       "polynomial giving the channel's DC value; it also enters the impedance calculation")
        .def_property("dimension", dataTextField(&Zmu4Connection::dimension),
                      textFieldSetter(&Zmu4Connection::dimension), "dimension of the channel; may be empty")
        .def_property("unit", dataTextField(&Zmu4Connection::unit), textFieldSetter(&Zmu4Connection::unit),
                      "unit of the channel; may be empty")
        .def(
            "__lt__", [](const Zmu4Connection& self, const Zmu4Connection& other) { return self < other; },
            "whether this connection orders first: card, connector, polynomial, dimension, unit")
        .def("getPath", withDataText(&Zmu4Connection::getPath),
             "\n    The device path of the channel at this connector.\n\n"
             "    :returns: \"ZMU4:{card}:CH{connector}~ZMU4:{card}:ADC{connector}\"\n");
}

} // namespace

void register_connection_classes(py::module_& m)
{
    registerPotentiostatConfiguration(m);
    registerPotConnection(m);
    registerZmu4Connection(m);
}
