// WorkstationInfo, WorkstationStatus and WebsocketConnectionInfo: what the
// workstation reports about itself and its clients, as read-only records.

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
        .def_readonly("serial_number", &WorkstationInfo::serial_number)
        .def_readonly("model_name", &WorkstationInfo::model_name)
        .def_readonly("firmware_version", &WorkstationInfo::firmware_version)
        .def_readonly("firmware_build_id", &WorkstationInfo::firmware_build_id)
        .def_readonly("cpu_card_uuid", &WorkstationInfo::cpu_card_uuid)
        .def_readonly("system_mac", &WorkstationInfo::system_mac)
        .def_readonly("system_name", &WorkstationInfo::system_name)
        .def_readonly("mode", &WorkstationInfo::mode);

    py::class_<WorkstationStatus>(m, "WorkstationStatus")
        .def_readonly("uptime", &WorkstationStatus::uptime)
        .def_readonly("busy", &WorkstationStatus::busy)
        .def_readonly("last_dc_calibration", &WorkstationStatus::last_dc_calibration);

    py::class_<WebsocketConnectionInfo>(m, "WebsocketConnectionInfo")
        .def_readonly("connection_id", &WebsocketConnectionInfo::connection_id)
        .def_readonly("connected_since", &WebsocketConnectionInfo::connected_since)
        .def_readonly("remote_addr", &WebsocketConnectionInfo::remote_addr)
        .def_readonly("remote_port", &WebsocketConnectionInfo::remote_port)
        .def_readonly("target", &WebsocketConnectionInfo::target)
        .def_readonly("user_agent", &WebsocketConnectionInfo::user_agent)
        .def_readonly("using_tls", &WebsocketConnectionInfo::using_tls);
}
