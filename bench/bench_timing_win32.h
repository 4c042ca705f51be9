#pragma once
// What the Windows benchmarks share: their options, a millisecond clock and the median of samples.
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <span>
#include <string_view>
#include <vector>

namespace tessera::bench {

// A number the command line may set ("--runs 5"); "--short" takes every option's short value,
// for the test run.
struct Option {
    std::string_view name;
    int value;
    int shortValue;
    int minimum;
};

inline void ReadOptions(int argc, char** argv, std::span<Option> options) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        for (Option& option : options) {
            if (arg == "--short") option.value = option.shortValue;
            if (arg == option.name && i + 1 < argc) option.value = std::max(option.minimum, std::atoi(argv[i + 1]));
        }
        if (arg != "--short") ++i;
    }
}

inline double NowMs() {
    static const double perMs = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER c;
    ::QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) / perMs;
}

inline double Median(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    const std::size_t n = samples.size();
    return n % 2 ? samples[n / 2] : (samples[n / 2 - 1] + samples[n / 2]) / 2;
}

}  // namespace tessera::bench
