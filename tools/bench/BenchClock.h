#pragma once
// The clock and the report line the window benchmarks share: milliseconds from the
// performance counter, and the median, 10th and 90th percentile of a run of samples.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace bench {

inline LARGE_INTEGER Now() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now;
}

inline double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    static const double ticksPerMs = [] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return static_cast<double>(frequency.QuadPart) / 1000.0;
    }();
    return static_cast<double>(to.QuadPart - from.QuadPart) / ticksPerMs;
}

inline double Median(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

inline void Report(const char* what, std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    const auto at = [&](double q) {
        return samples[static_cast<std::size_t>(q * static_cast<double>(samples.size() - 1))];
    };
    std::printf("%-52s median %7.3f ms   p10 %7.3f   p90 %7.3f   (%zu runs)\n", what, at(0.5),
                at(0.1), at(0.9), samples.size());
}

}  // namespace bench
