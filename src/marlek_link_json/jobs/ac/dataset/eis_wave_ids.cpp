#include "marlek_link_json/jobs/ac/dataset/eis_wave_ids.hpp"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>

namespace {

// 2^63 and 2^64, both exact as doubles.
constexpr double SIGNED_LIMIT = 9223372036854775808.0;
constexpr double UNSIGNED_LIMIT = 18446744073709551616.0;

// The id as an index below `waveCount`, or none.
std::optional<std::uint64_t> waveIndexBelow(double value, std::uint64_t waveCount)
{
    const std::optional<std::int64_t> id = roundedWaveId(value);
    if (!id.has_value() || *id < 0 || static_cast<std::uint64_t>(*id) >= waveCount) {
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(*id);
}

} // namespace

std::optional<std::int64_t> roundedWaveId(double value)
{
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    const double rounded = std::round(value);
    if (rounded < -SIGNED_LIMIT || rounded >= SIGNED_LIMIT) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>(rounded);
}

std::uint64_t truncatedWaveSize(double value)
{
    if (!(value >= 0.0)) {
        return 0;
    }
    if (value >= UNSIGNED_LIMIT) {
        return std::numeric_limits<std::uint64_t>::max();
    }
    return static_cast<std::uint64_t>(value);
}

std::uint64_t eisWaveCount(const std::vector<double>& waveIds, std::uint64_t idLimit)
{
    std::uint64_t count = 0;
    for (const double value : waveIds) {
        if (const auto index = waveIndexBelow(value, idLimit)) {
            count = std::max(count, *index + 1);
        }
    }
    return count;
}

std::vector<std::uint64_t> eisWaveLengths(const std::vector<double>& waveIds, const std::vector<double>* waveSizes,
                                          std::uint64_t waveCount)
{
    std::vector<std::uint64_t> lengths(waveCount, 0);
    if (waveSizes == nullptr) {
        return lengths;
    }
    const std::size_t rows = std::min(waveIds.size(), waveSizes->size());
    for (std::size_t row = 0; row < rows; ++row) {
        if (const auto index = waveIndexBelow(waveIds[row], waveCount)) {
            lengths[*index] = std::max(lengths[*index], truncatedWaveSize((*waveSizes)[row]));
        }
    }
    return lengths;
}
