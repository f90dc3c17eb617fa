#pragma once

#include <boost/json/object.hpp>

#include <string>

class FakeWorkstation;

// Carries out one control line of the server process (one JSON command, see
// fake_workstation_server.cpp); the acknowledgement it answers with, without
// its number. An unreadable line or an unknown command changes nothing and
// is answered with "error".
boost::json::object control(FakeWorkstation& workstation, const std::string& line);
