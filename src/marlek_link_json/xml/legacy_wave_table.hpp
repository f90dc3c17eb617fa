#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tinyxml2 {
class XMLElement;
} // namespace tinyxml2

// Files of format versions 1 and 2 store the waves of a path as one line per
// dataset row, each of the same number of samples.
namespace MXml::Legacy {

inline constexpr std::int64_t DEFAULT_WAVE_SIZE = 256;

// The path's "wave-size": 256 when absent or not an integer, 0 when
// negative.
std::int64_t readPathWaveSize(const tinyxml2::XMLElement* columnClass);

// Sets `waves` to `waveCount` waves of `sampleCount` samples read from the
// table text. Fails, allocating nothing for the samples, when the text is too
// short to hold that many values.
bool parseFixedSizeWaveTable(std::vector<std::vector<double>>& waves, const char* text, std::size_t waveCount,
                             std::size_t sampleCount);

} // namespace MXml::Legacy
