#pragma once
// Parameter records of the galvanostatic impedance jobs, which limit the
// current amplitude the measurement may use.

#include "marlek_json_common/json_common/job_parameters/eis_parameters.hpp"

// Job "geis_va": the generator fields of EisParametersGenerate, then the
// current limits.
struct GeisVaParametersGenerate {
    double bias = 0.0;
    double min_frequency = 0.0;
    double max_frequency = 0.0;
    double start_frequency = 0.0;
    std::uint64_t points_per_decade_upper = 0;
    std::uint64_t points_per_decade_lower = 0;
    double pre_duration = 0.0;
    std::uint64_t pre_waves = 0;
    double meas_duration = 0.0;
    std::uint64_t meas_waves = 0;
    double amplitude = 0.0;
    double minimum_current_amplitude = 0.0;
    double maximum_current_amplitude = 0.0;
    std::optional<DriftCorrection> drift_correction;

    friend bool operator==(const GeisVaParametersGenerate&, const GeisVaParametersGenerate&) = default;
};

// Job "geis_va_table": bias is a current bias.
struct GeisVaParametersFrequencyTable {
    double bias = 0.0;
    double minimum_current_amplitude = 0.0;
    double maximum_current_amplitude = 0.0;
    std::vector<EisParametersFrequencyTableEntry> spectrum;
    std::optional<DriftCorrection> drift_correction;

    friend bool operator==(const GeisVaParametersFrequencyTable&, const GeisVaParametersFrequencyTable&) = default;
};
