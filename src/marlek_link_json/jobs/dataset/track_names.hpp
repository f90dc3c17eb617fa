#pragma once

// Dimension texts of the columns that datasets look up by name.
struct TrackNames {
    static constexpr const char* TIME = "time";
    static constexpr const char* VOLTAGE = "voltage";
    static constexpr const char* CURRENT = "current";
    static constexpr const char* FREQUENCY = "frequency";
    static constexpr const char* PERIODS = "periods";
    static constexpr const char* IMPEDANCE_ABSOLUTE = "|impedance|";
    static constexpr const char* PHASE = "phase";
    static constexpr const char* IMPEDANCE_ERROR = "impedance error";
    static constexpr const char* PHASE_ERROR = "phase error";
    static constexpr const char* IMPEDANCE_DRIFT = "impedance drift";
    static constexpr const char* PHASE_DRIFT = "phase drift";
    static constexpr const char* DC = "dc";
    static constexpr const char* AMPLITUDE = "amplitude";
    static constexpr const char* GAIN = "gain";
    static constexpr const char* FILTER = "filter";
    static constexpr const char* THD = "thd";
    static constexpr const char* DRIFT = "drift";
    static constexpr const char* SHUNT = "shunt";
    // Spelt as the workstation spells it.
    static constexpr const char* BANDWITH = "bandwith";
    static constexpr const char* WAVE_ID = "wave_id";
    static constexpr const char* WAVE_SIZE = "wave_size";
};

// Unit texts of those columns; an empty text marks a dimensionless column.
struct UnitNames {
    static constexpr const char* TIME = "s";
    static constexpr const char* VOLTAGE = "V";
    static constexpr const char* CURRENT = "A";
    static constexpr const char* FREQUENCY = "Hz";
    static constexpr const char* PERIODS = "";
    // The ohm sign U+2126 in UTF-8.
    static constexpr const char* IMPEDANCE_ABSOLUTE = "\xE2\x84\xA6";
    static constexpr const char* PHASE_RAD = "rad";
    static constexpr const char* IMPEDANCE_ERROR = "";
    static constexpr const char* PHASE_ERROR = "";
    static constexpr const char* IMPEDANCE_DRIFT = "";
    static constexpr const char* PHASE_DRIFT = "";
    static constexpr const char* GAIN = "";
    static constexpr const char* FILTER = "";
    static constexpr const char* FILTER_HZ = "Hz";
    static constexpr const char* THD = "%";
    static constexpr const char* DRIFT = "1/period";
    static constexpr const char* SHUNT = "";
    static constexpr const char* BANDWITH = "";
    static constexpr const char* WAVE_ID = "";
    static constexpr const char* WAVE_SIZE = "";
};
