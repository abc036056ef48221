// Timing helpers for the benchmark programs: medians over repeated runs, peak memory.
#pragma once

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string_view>
#include <vector>

namespace mirvane::bench {

// The common command line of the benchmarks: [runs] [-o DIR].
struct BenchArguments {
    int runs;
    const char* saveDir = nullptr;
};

inline BenchArguments ParseBenchArguments(int argc, char** argv, int defaultRuns) {
    BenchArguments arguments{defaultRuns};
    for (int i = 1; i < argc; ++i) {
        if (std::string_view(argv[i]) == "-o" && i + 1 < argc) {
            arguments.saveDir = argv[++i];
        } else {
            arguments.runs = std::max(1, std::atoi(argv[i]));
        }
    }
    return arguments;
}

inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Runs `step` `runs` times after one warm-up and returns the median in milliseconds.
inline double MedianMs(int runs, const std::function<void()>& step) {
    step();
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        step();
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// The process's peak resident memory so far, in MB.
inline double PeakResidentMb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

}  // namespace mirvane::bench
