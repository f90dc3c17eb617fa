// WorkstationInfo, WorkstationStatus and WebsocketConnectionInfo: what the
// workstation reports about itself and its clients, as read-only records.

#include "marlek_link_py/data_text.hpp"
#include "marlek_link_py/link_wrap.hpp"

#include "marlek_json_common/json_common/configuration/device/workstation_info.hpp"
#include "marlek_link_json/websocket_connection_info.hpp"
#include "marlek_link_json/workstation_status.hpp"

#include <pybind11/native_enum.h>
#include <pybind11/pybind11.h>

namespace py = pybind11;

void register_device_info_classes(py::module_& m)
{
    py::class_<WorkstationInfo>(m, "WorkstationInfo")
        .def_readonly("protocol_version", &WorkstationInfo::protocol_version)
        .def_property_readonly("serial_number", dataTextField(&WorkstationInfo::serial_number))
        .def_property_readonly("model_name", dataTextField(&WorkstationInfo::model_name))
        .def_property_readonly("firmware_version", dataTextField(&WorkstationInfo::firmware_version))
        .def_property_readonly("firmware_build_id", dataTextField(&WorkstationInfo::firmware_build_id))
        .def_property_readonly("cpu_card_uuid", dataTextField(&WorkstationInfo::cpu_card_uuid))
        .def_property_readonly("system_mac", dataTextField(&WorkstationInfo::system_mac))
        .def_property_readonly("system_name", dataTextField(&WorkstationInfo::system_name))
        .def_readonly("mode", &WorkstationInfo::mode);

    py::class_<WorkstationStatus>(m, "WorkstationStatus")
        .def_readonly("uptime", &WorkstationStatus::uptime)
        .def_readonly("busy", &WorkstationStatus::busy)
        .def_property_readonly("last_dc_calibration", dataTextField(&WorkstationStatus::last_dc_calibration));

    py::class_<WebsocketConnectionInfo>(m, "WebsocketConnectionInfo")
        .def_property_readonly("connection_id", dataTextField(&WebsocketConnectionInfo::connection_id))
        .def_property_readonly("connected_since", dataTextField(&WebsocketConnectionInfo::connected_since))
        .def_property_readonly("remote_addr", dataTextField(&WebsocketConnectionInfo::remote_addr))
        .def_readonly("remote_port", &WebsocketConnectionInfo::remote_port)
        .def_property_readonly("target", dataTextField(&WebsocketConnectionInfo::target))
        .def_property_readonly("user_agent", dataTextField(&WebsocketConnectionInfo::user_agent))
        .def_readonly("using_tls", &WebsocketConnectionInfo::using_tls);
}
