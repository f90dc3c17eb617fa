#pragma once

#include <cstdint>
#include <optional>
#include <vector>

// The "wave_id" and "wave_size" meta values are doubles that the workstation
// or a file supplies; these turn them into integers without trusting them.

// The wave id a value names: rounded, halves away from zero. None for a NaN,
// an infinity or a value outside the signed 64-bit range, which name no wave.
std::optional<std::int64_t> roundedWaveId(double value);

// The sample count a "wave_size" value declares, truncated; 0 for NaN or a
// negative value, saturated for a value beyond the unsigned 64-bit range.
std::uint64_t truncatedWaveSize(double value);

// One more than the largest wave id in [0, idLimit) among the values; ids at
// or above the limit name no wave.
std::uint64_t eisWaveCount(const std::vector<double>& waveIds, std::uint64_t idLimit);

// Length of each of the `waveCount` waves: the largest size declared by a row
// that names the wave (0 when no row does). `waveSizes` may be null or shorter
// than the ids; rows without a size declare nothing.
std::vector<std::uint64_t> eisWaveLengths(const std::vector<double>& waveIds, const std::vector<double>* waveSizes,
                                          std::uint64_t waveCount);
