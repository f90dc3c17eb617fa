#pragma once
// Parameter records of the potentiostatic impedance jobs. The workstation
// judges the values; the records carry no checks.

#include "marlek_json_common/json_common/job_parameters/drift_correction.hpp"

#include <boost/describe/class.hpp>

#include <cstdint>
#include <optional>
#include <vector>

// One point of a frequency table. At least meas_waves periods are recorded,
// and recording goes on until meas_duration has passed.
struct EisParametersFrequencyTableEntry {
    double frequency = 0.0;
    // AC peak amplitude.
    double amplitude = 0.0;
    double pre_duration = 0.0;
    std::uint64_t pre_waves = 0;
    double meas_duration = 0.0;
    std::uint64_t meas_waves = 0;

    friend bool operator==(const EisParametersFrequencyTableEntry&, const EisParametersFrequencyTableEntry&) = default;
};
BOOST_DESCRIBE_STRUCT(EisParametersFrequencyTableEntry, (),
                      (frequency, amplitude, pre_duration, pre_waves, meas_duration, meas_waves))

// One excited harmonic of a multisine.
struct EisMultiSineTableEntry {
    // Multiple of the fundamental frequency.
    std::uint64_t harmonic = 0;
    double weight = 0.0;

    friend bool operator==(const EisMultiSineTableEntry&, const EisMultiSineTableEntry&) = default;
};
BOOST_DESCRIBE_STRUCT(EisMultiSineTableEntry, (), (harmonic, weight))

// Job "eis_table": the points are measured as listed.
struct EisParametersFrequencyTable {
    double bias = 0.0;
    std::vector<EisParametersFrequencyTableEntry> spectrum;
    std::optional<DriftCorrection> drift_correction;

    friend bool operator==(const EisParametersFrequencyTable&, const EisParametersFrequencyTable&) = default;
};

// Job "eis": a generated sweep from start_frequency up to max_frequency and
// back down to min_frequency.
struct EisParametersGenerate {
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
    std::optional<DriftCorrection> drift_correction;

    friend bool operator==(const EisParametersGenerate&, const EisParametersGenerate&) = default;
};

// Job "eis_multisine_table": one multisine of a fundamental and weighted
// harmonics.
struct EisMultiSineTable {
    double bias = 0.0;
    double pre_duration = 0.0;
    std::uint64_t pre_waves = 0;
    double meas_duration = 0.0;
    std::uint64_t meas_waves = 0;
    double amplitude = 0.0;
    double fundamental_frequency = 0.0;
    std::vector<EisMultiSineTableEntry> harmonics;
    // Keep the full multisine wave in the result data; empty sends no choice.
    std::optional<bool> multisine_wave_in_result;
    std::optional<DriftCorrection> drift_correction;

    friend bool operator==(const EisMultiSineTable&, const EisMultiSineTable&) = default;
};

// Job "eis_multisine": a generated sweep whose lowest multisine_decades
// decades above min_frequency are measured by one multisine point.
struct EisMultisineParametersGenerate {
    double bias = 0.0;
    double min_frequency = 0.0;
    double max_frequency = 0.0;
    double start_frequency = 0.0;
    std::uint64_t points_per_decade_upper = 0;
    std::uint64_t points_per_decade_lower = 0;
    double pre_duration = 0.0;
    std::uint64_t pre_waves = 0;
    double amplitude = 0.0;
    double meas_duration = 0.0;
    std::uint64_t meas_waves = 0;
    std::uint64_t multisine_pre_waves = 0;
    std::uint64_t multisine_meas_waves = 0;
    // 0 switches the multisine point off.
    std::uint64_t multisine_decades = 0;
    std::uint64_t multisine_starting_harmonic = 0;
    std::optional<bool> multisine_wave_in_result;
    std::optional<DriftCorrection> drift_correction;

    friend bool operator==(const EisMultisineParametersGenerate&, const EisMultisineParametersGenerate&) = default;
};
