// DiscoveredDevice and AutoDiscovery: finding workstations on the local
// network by UDP broadcast before connecting to one.

#include "marlek_link_py/data_text.hpp"
#include "marlek_link_py/duration_arg.hpp"
#include "marlek_link_py/init_wrap.hpp"

#include "marlek_link_json/auto_discovery.hpp"
#include "marlek_link_json/discovered_device.hpp"

#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <memory>
#include <string>

namespace py = pybind11;

namespace {

std::unique_ptr<AutoDiscovery> makeDiscovery(const DurationArg& timeout)
{
    // A negative time-out is the core's to handle: it ends the discovery at once.
    return std::make_unique<AutoDiscovery>(
        timeout.checked("the discovery timeout", -kLongestClockWait, kLongestClockWait));
}

std::string representation(const DiscoveredDevice& device)
{
    return "DiscoveredDevice(ip_address='" + device.ip_address + "', port='" + device.port
           + "', recovery_mode=" + (device.recovery_mode ? "True" : "False") + ")";
}

} // namespace

void init_discovery_wrap(py::module_& m)
{
    py::class_<DiscoveredDevice>(m, "DiscoveredDevice",
                                 "\n    Network location of a device found by :class:`marlek_link.AutoDiscovery`.\n\n"
                                 "    It only contains the address and the port. The device's details (serial number,\n"
                                 "    model, firmware and so on) are read by constructing a\n"
                                 "    :class:`marlek_link.MarlekLink` with the address and port and calling\n"
                                 "    :meth:`marlek_link.MarlekLink.id`.\n")
        .def_property_readonly("ip_address", dataTextField(&DiscoveredDevice::ip_address),
                               "IPv4 address of the device.")
        .def_property_readonly("port", dataTextField(&DiscoveredDevice::port), "Port the device listens on.")
        .def_readonly("recovery_mode", &DiscoveredDevice::recovery_mode, "True if the device is in recovery mode.")
        .def_property_readonly(
            "url", withDataText(+[](const DiscoveredDevice& device) { return device.ip_address + ":" + device.port; }),
            "\n    Address and port in ``ip:port`` notation.\n\n"
            "    Usable as host and port of a :class:`marlek_link.MarlekLink`.\n")
        .def("__repr__", &representation);

    py::class_<AutoDiscovery>(m, "AutoDiscovery",
                              "\n    Discovers Marlek devices on the local network.\n\n"
                              "    A discovery request is broadcast on every local network interface; reachable\n"
                              "    devices answer with their address and port.\n")
        .def(py::init(&makeDiscovery),
             py::arg_v("discovery_timeout", py::module_::import("datetime").attr("timedelta")(py::arg("seconds") = 3),
                       "datetime.timedelta(seconds=3)"),
             "\n    Create an auto discovery scanner.\n\n"
             "    :param discovery_timeout: how long to listen for device responses, as a\n"
             "        :class:`datetime.timedelta`\n")
        .def("discover", py::overload_cast<>(&AutoDiscovery::discover, py::const_), py::call_guard<py::gil_scoped_release>(),
             "\n    Scan the local network for Marlek devices.\n\n"
             "    A discovery request is broadcast on every local network interface. The call blocks until the\n"
             "    timeout passed to the constructor has elapsed and then returns the devices that answered.\n\n"
             "    .. code-block:: python\n\n"
             "        import datetime\n"
             "        import marlek_link\n\n"
             "        scanner = marlek_link.AutoDiscovery(discovery_timeout=datetime.timedelta(seconds=3))\n"
             "        devices = scanner.discover()\n"
             "        print(f\"found {len(devices)} device(s)\")\n"
             "        for number, device in enumerate(devices, start=1):\n"
             "            marker = \" (recovery mode)\" if device.recovery_mode else \"\"\n"
             "            print(f\"{number}: {device.url}{marker} {device!r}\")\n\n"
             "    The returned objects only contain address and port. A device's serial number, model name and\n"
             "    firmware version are read by passing address and port to a :class:`marlek_link.MarlekLink` and\n"
             "    calling :meth:`marlek_link.MarlekLink.id`, which queries the identification without a\n"
             "    persistent connection.\n\n"
             "    :returns: the list of :class:`marlek_link.DiscoveredDevice` objects found on the network\n");
}
