#pragma once

#include <boost/describe/class.hpp>

#include <cstdint>
#include <string>

// Job "wave_file": the wave job for large waveforms; the values are in a
// resource the caller uploaded to the workstation beforehand.
struct WaveFileParameters {
    double output_data_rate = 0.0;
    double value_rate = 0.0;
    // 1 outputs the values once.
    std::uint64_t repetitions = 1;
    double current_range = 0.0;
    // Passed through as given; the workstation looks the resource up.
    std::string resource_id;
    // Added to every value.
    double bias = 0.0;

    friend bool operator==(const WaveFileParameters&, const WaveFileParameters&) = default;
};
BOOST_DESCRIBE_STRUCT(WaveFileParameters, (),
                      (output_data_rate, value_rate, repetitions, current_range, resource_id, bias))
