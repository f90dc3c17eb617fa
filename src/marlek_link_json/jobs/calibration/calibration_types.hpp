#pragma once

#include <cstdint>
#include <string>

// What the calibrate job asks the workstation to calibrate. The workstation
// knows each kind by its lower-case protocol text.
enum class CalibrationTypesEnum : std::int32_t {
    DUMP = 0,
    LOAD = 1,
    DC = 2,
    MAIN_SHUNTS_DC = 3,
    EXTERNAL_POTENTIOSTAT_DC = 4,
    FILTER = 5,
    GAIN = 6,
    ZMU_FILTER = 7,
    ZMU_GAIN = 8,
    ZMU4_FILTER = 9,
    ZMU4_GAIN = 10,
    ZMU4_DC_GAIN = 11,
    VOLTAGE_RANGE = 12,
    SHUNT_OPEN = 13,
    SHUNT_LOAD = 14,
    SHUNT_SHORT = 15,
    SHUNT_REFERENCE = 16,
    MAIN_VOLTAGE_RANGE = 17,
    MAIN_SHUNT_OPEN = 18,
    MAIN_SHUNT_LOAD = 19,
    MAIN_SHUNT_SHORT = 20,
    REFERENCE_ADC = 21,
};

// The protocol text of a calibration type; a value outside the enumeration
// gives "dc", the full DC calibration.
std::string calibrationTypesEnumToString(CalibrationTypesEnum type);

// Kind of one stored calibration data item; the texts are the "type" of the
// data object on the wire.
enum class CalibrationDataTypeEnum : std::int32_t {
    UNDEFINED = 0,
    FLOAT = 1,
    FLOAT_VECTOR = 2,
    SPECTRA = 3,
    STRING = 4,
};
