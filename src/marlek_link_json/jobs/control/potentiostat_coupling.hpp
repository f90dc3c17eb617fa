#pragma once

#include <boost/describe/enum.hpp>

#include <cstdint>

// Feedback mode of a potentiostat. After a switch-on with a coupling the
// following jobs run in that mode: galvanostatic set values are currents.
// JSON and XML carry the value's name; a value without a name travels as its
// number in JSON and as an empty text in XML.
enum class PotentiostatCoupling : std::int32_t {
    // Voltage feedback: bias and set values are voltages.
    POTENTIOSTATIC = 0,
    // Current feedback: bias and set values are currents.
    GALVANOSTATIC = 1,
    // Internal feedback for an FRA probe; the main potentiostat's
    // potentiostatic polynomial carries gain and offset of the external
    // source or sink.
    FRA_PROBE = 2,
};
BOOST_DESCRIBE_ENUM(PotentiostatCoupling, POTENTIOSTATIC, GALVANOSTATIC, FRA_PROBE)
