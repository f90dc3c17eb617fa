#pragma once

#include <boost/describe/class.hpp>

#include <cstdint>
#include <string>

// The workstation's answer to "/status", passed on as received: the unit of
// the uptime and the form of the calibration date are the workstation's.
struct WorkstationStatus {
    std::int64_t uptime = 0;
    bool busy = false;
    std::string last_dc_calibration;

    friend bool operator==(const WorkstationStatus&, const WorkstationStatus&) = default;
};
// Listed in the order the members are checked when read, which decides the
// error of a reply with several faults.
BOOST_DESCRIBE_STRUCT(WorkstationStatus, (), (busy, uptime, last_dc_calibration))
