#pragma once
// One fully set record per impedance technique, every number distinct, with
// counts at the ends of their range, and what its XML form must look like.

#include "marlek_link_json/jobs/ac/jobs/impedance_jobs.hpp"

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

inline constexpr std::uint64_t MAX_COUNT = std::numeric_limits<std::uint64_t>::max();

inline const EisParametersFrequencyTableEntry spectrumPointA{1000.0, 0.01, 0.5, 2, 1.5, MAX_COUNT};
inline const EisParametersFrequencyTableEntry spectrumPointB{0.1, 0.02, 0.0, 0, 3.0, 3};

// The expected children of "parameters" are `topLevel` with `optionals`
// inserted before the final "frequency_range".
template <class P>
struct ImpedanceSample;

template <>
struct ImpedanceSample<EisParametersFrequencyTable> {
    static EisParametersFrequencyTable full()
    {
        return {.bias = 0.25, .spectrum = {spectrumPointA, spectrumPointB}, .drift_correction = DriftCorrection::OFF};
    }
    static EisParametersFrequencyTable topLevelOnly(const EisParametersFrequencyTable& r)
    {
        return {.bias = r.bias, .drift_correction = r.drift_correction};
    }
    static void clearOptionals(EisParametersFrequencyTable& r) { r.drift_correction.reset(); }
    static inline const std::vector<std::string> topLevel{"bias", "frequency_range"};
    static inline const std::vector<std::string> optionals{"drift_correction"};
    static inline const std::string rangeType = "table";
    static inline const std::vector<std::string> range{"entry", "entry"};
    static inline const std::vector<std::string> entry{"frequency",     "amplitude", "meas_waves",
                                                       "meas_duration", "pre_waves", "pre_duration"};
};

template <>
struct ImpedanceSample<EisParametersGenerate> {
    static EisParametersGenerate full()
    {
        return {.bias = -0.125,
                .min_frequency = 0.01,
                .max_frequency = 1e6,
                .start_frequency = 1e4,
                .points_per_decade_upper = 20,
                .points_per_decade_lower = MAX_COUNT,
                .pre_duration = 0.1,
                .pre_waves = 1,
                .meas_duration = 1.0 / 3.0,
                .meas_waves = 5,
                .amplitude = 0.01,
                .drift_correction = DriftCorrection::DC_ONLY};
    }
    static EisParametersGenerate topLevelOnly(const EisParametersGenerate& r)
    {
        return {.bias = r.bias, .drift_correction = r.drift_correction};
    }
    static void clearOptionals(EisParametersGenerate& r) { r.drift_correction.reset(); }
    static inline const std::vector<std::string> topLevel{"bias", "frequency_range"};
    static inline const std::vector<std::string> optionals{"drift_correction"};
    static inline const std::string rangeType = "generate";
    static inline const std::vector<std::string> range{
        "min_frequency", "max_frequency", "start_frequency", "points_per_decade_upper", "points_per_decade_lower",
        "pre_duration",  "pre_waves",     "meas_duration",   "meas_waves",              "amplitude"};
    static inline const std::vector<std::string> entry{};
};

template <>
struct ImpedanceSample<EisMultiSineTable> {
    static EisMultiSineTable full()
    {
        return {.bias = 0.1,
                .pre_duration = 1.0,
                .pre_waves = 2,
                .meas_duration = 4.0,
                .meas_waves = 8,
                .amplitude = 0.05,
                .fundamental_frequency = 0.1,
                .harmonics = {{1, 1.0}, {MAX_COUNT, 0.5}, {0, 0.0}},
                .multisine_wave_in_result = false,
                .drift_correction = DriftCorrection::FULL};
    }
    static EisMultiSineTable topLevelOnly(const EisMultiSineTable& r)
    {
        return {.bias = r.bias,
                .multisine_wave_in_result = r.multisine_wave_in_result,
                .drift_correction = r.drift_correction};
    }
    static void clearOptionals(EisMultiSineTable& r)
    {
        r.multisine_wave_in_result.reset();
        r.drift_correction.reset();
    }
    static inline const std::vector<std::string> topLevel{"bias", "frequency_range"};
    static inline const std::vector<std::string> optionals{"multisine_wave_in_result", "drift_correction"};
    static inline const std::string rangeType = "table";
    static inline const std::vector<std::string> range{
        "fundamental_frequency", "pre_duration", "pre_waves", "meas_duration", "meas_waves", "amplitude",
        "entry",                 "entry",        "entry"};
    static inline const std::vector<std::string> entry{"harmonic", "weight"};
};

template <>
struct ImpedanceSample<EisMultisineParametersGenerate> {
    static EisMultisineParametersGenerate full()
    {
        return {.bias = -0.2,
                .min_frequency = 0.01,
                .max_frequency = 1e5,
                .start_frequency = 1e3,
                .points_per_decade_upper = 10,
                .points_per_decade_lower = 4,
                .pre_duration = 0.5,
                .pre_waves = 1,
                .amplitude = 0.01,
                .meas_duration = 0.2,
                .meas_waves = 3,
                .multisine_pre_waves = 6,
                .multisine_meas_waves = MAX_COUNT,
                .multisine_decades = 2,
                .multisine_starting_harmonic = 3,
                .multisine_wave_in_result = true,
                .drift_correction = DriftCorrection::OFF};
    }
    static EisMultisineParametersGenerate topLevelOnly(const EisMultisineParametersGenerate& r)
    {
        return {.bias = r.bias,
                .multisine_wave_in_result = r.multisine_wave_in_result,
                .drift_correction = r.drift_correction};
    }
    static void clearOptionals(EisMultisineParametersGenerate& r)
    {
        r.multisine_wave_in_result.reset();
        r.drift_correction.reset();
    }
    static inline const std::vector<std::string> topLevel{"bias", "frequency_range"};
    static inline const std::vector<std::string> optionals{"multisine_wave_in_result", "drift_correction"};
    static inline const std::string rangeType = "generate";
    static inline const std::vector<std::string> range{"min_frequency",
                                                       "max_frequency",
                                                       "start_frequency",
                                                       "points_per_decade_upper",
                                                       "points_per_decade_lower",
                                                       "pre_duration",
                                                       "pre_waves",
                                                       "meas_duration",
                                                       "meas_waves",
                                                       "amplitude",
                                                       "multisine_pre_waves",
                                                       "multisine_meas_waves",
                                                       "multisine_decades",
                                                       "multisine_starting_harmonic"};
    static inline const std::vector<std::string> entry{};
};

template <>
struct ImpedanceSample<GeisVaParametersGenerate> {
    static GeisVaParametersGenerate full()
    {
        return {.bias = 1e-3,
                .min_frequency = 1.0,
                .max_frequency = 1e5,
                .start_frequency = 100.0,
                .points_per_decade_upper = 10,
                .points_per_decade_lower = 5,
                .pre_duration = 0.0,
                .pre_waves = MAX_COUNT,
                .meas_duration = 0.5,
                .meas_waves = 4,
                .amplitude = 0.01,
                .minimum_current_amplitude = 1e-6,
                .maximum_current_amplitude = 1e-2,
                .drift_correction = DriftCorrection::FULL};
    }
    static GeisVaParametersGenerate topLevelOnly(const GeisVaParametersGenerate& r)
    {
        return {.bias = r.bias,
                .minimum_current_amplitude = r.minimum_current_amplitude,
                .maximum_current_amplitude = r.maximum_current_amplitude,
                .drift_correction = r.drift_correction};
    }
    static void clearOptionals(GeisVaParametersGenerate& r) { r.drift_correction.reset(); }
    static inline const std::vector<std::string> topLevel{"bias", "minimum_current_amplitude",
                                                          "maximum_current_amplitude", "frequency_range"};
    static inline const std::vector<std::string> optionals{"drift_correction"};
    static inline const std::string rangeType = "generate";
    static inline const std::vector<std::string> range = ImpedanceSample<EisParametersGenerate>::range;
    static inline const std::vector<std::string> entry{};
};

template <>
struct ImpedanceSample<GeisVaParametersFrequencyTable> {
    static GeisVaParametersFrequencyTable full()
    {
        return {.bias = -2e-3,
                .minimum_current_amplitude = 1e-7,
                .maximum_current_amplitude = 0.1,
                .spectrum = {spectrumPointB, spectrumPointA},
                .drift_correction = DriftCorrection::DC_ONLY};
    }
    static GeisVaParametersFrequencyTable topLevelOnly(const GeisVaParametersFrequencyTable& r)
    {
        return {.bias = r.bias,
                .minimum_current_amplitude = r.minimum_current_amplitude,
                .maximum_current_amplitude = r.maximum_current_amplitude,
                .drift_correction = r.drift_correction};
    }
    static void clearOptionals(GeisVaParametersFrequencyTable& r) { r.drift_correction.reset(); }
    static inline const std::vector<std::string> topLevel{"bias", "minimum_current_amplitude",
                                                          "maximum_current_amplitude", "frequency_range"};
    static inline const std::vector<std::string> optionals{"drift_correction"};
    static inline const std::string rangeType = "table";
    static inline const std::vector<std::string> range{"entry", "entry"};
    static inline const std::vector<std::string> entry = ImpedanceSample<EisParametersFrequencyTable>::entry;
};
