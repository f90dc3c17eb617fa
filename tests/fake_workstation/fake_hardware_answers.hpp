#pragma once

#include <boost/json/object.hpp>

// What the fake answers to the hardware queries: the "result" members of the
// JOB_DONE messages of "get_hardware_info", "get_hardware_settings" and
// "get_potentiostat_state".
namespace fake_workstation {

// The main potentiostat (urn "354531:POT"), its two paths and one ZMU card.
boost::json::object hardwareInfoResult();

// The base configuration of the main potentiostat, as adopted.
boost::json::object hardwareSettingsResult();

// The main potentiostat switched on galvanostatically.
boost::json::object potentiostatStateResult();

} // namespace fake_workstation
