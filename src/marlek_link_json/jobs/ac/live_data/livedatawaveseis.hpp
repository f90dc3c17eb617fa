#pragma once

#include <cstddef>
#include <utility>
#include <vector>

// A fragment of the waves being recorded, sent apart from the rows and meant
// for display: each list covers the samples from `offset` up to `offset` plus
// its length of a complete wave of `fullWaveSize` samples. The full size
// changes with the frequency and may differ between the paths' waves.
class LiveDataWavesEis {
public:
    LiveDataWavesEis() = default;
    LiveDataWavesEis(std::vector<std::vector<double>>&& waves, std::size_t offset, std::size_t fullWaveSize)
        : waves_(std::move(waves)), offset_(offset), fullWaveSize_(fullWaveSize)
    {
    }

    // One sample list per synchronous path, in the header's path order.
    const std::vector<std::vector<double>>& getWaves() const { return waves_; }
    std::size_t getOffset() const { return offset_; }
    std::size_t getFullWaveSize() const { return fullWaveSize_; }

    friend bool operator==(const LiveDataWavesEis&, const LiveDataWavesEis&) = default;

private:
    std::vector<std::vector<double>> waves_;
    std::size_t offset_ = 0;
    std::size_t fullWaveSize_ = 0;
};
