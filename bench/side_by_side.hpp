#pragma once

// Runs a library case and its bare baseline alternately in one process, so
// that the load of a shared machine falls on both alike, and prints the
// median, minimum and maximum of each and the ratio of the medians.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace bench {

struct Spread {
    double median = 0;
    double min = 0;
    double max = 0;
};

inline Spread spreadOf(std::vector<double> samples)
{
    std::ranges::sort(samples);
    return {samples[samples.size() / 2], samples.front(), samples.back()};
}

// Seconds taken by one call of `run`.
inline double timeOnce(const std::function<void()>& run)
{
    const auto start = std::chrono::steady_clock::now();
    run();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

struct Case {
    std::string name;
    std::function<void()> run; // one batch
};

// `perBatch` turns the seconds of one batch into the figure printed (for
// instance microseconds per request, or events per second). A ratio above 1
// means the library figure is the larger one.
inline void compare(const std::string& title, const Case& library, const Case& baseline, int rounds,
                    const std::function<double(double)>& perBatch, const std::string& unit)
{
    library.run(); // warm up both
    baseline.run();
    std::vector<double> librarySamples;
    std::vector<double> baselineSamples;
    for (int i = 0; i < rounds; ++i) {
        librarySamples.push_back(perBatch(timeOnce(library.run)));
        baselineSamples.push_back(perBatch(timeOnce(baseline.run)));
    }
    const Spread lib = spreadOf(librarySamples);
    const Spread base = spreadOf(baselineSamples);
    std::printf("%s\n", title.c_str());
    std::printf("  %-34s median %12.3f  min %12.3f  max %12.3f  %s\n", library.name.c_str(), lib.median, lib.min,
                lib.max, unit.c_str());
    std::printf("  %-34s median %12.3f  min %12.3f  max %12.3f  %s\n", baseline.name.c_str(), base.median,
                base.min, base.max, unit.c_str());
    std::printf("  ratio library/baseline (medians): %.3f\n", lib.median / base.median);
    std::fflush(stdout);
}

} // namespace bench
