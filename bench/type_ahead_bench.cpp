// Typing in the chooser's list over 100,000 items: the prefix search against a plain scan of the
// same names (one comparison each, letter case kept), the floor any search has to pay.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

#include "commands/type_ahead.h"

namespace {

std::vector<std::string> ItemNames() {
    std::vector<std::string> names;
    names.reserve(100000);
    for (int i = 1; i <= 100000; ++i) names.push_back((i % 3 ? "Texte_" : "Image_") + std::to_string(i));
    return names;
}

// The worst case: no name starts with the letters typed, so every line is looked at.
void BM_TypeAheadNoMatch(benchmark::State& state) {
    const std::vector<std::string> names = ItemNames();
    tessera::TypeAhead typing;
    std::uint32_t now = 0;
    for (auto _ : state) {
        now += 5000;  // a pause before each letter: a new search from the selection
        auto line = typing.Type('z', now, 50000, static_cast<int>(names.size()),
                                [&names](int i) -> const std::string& { return names[i]; });
        benchmark::DoNotOptimize(line);
    }
}

void BM_PlainScan(benchmark::State& state) {
    const std::vector<std::string> names = ItemNames();
    for (auto _ : state) {
        int found = -1;
        for (int i = 0; i < static_cast<int>(names.size()) && found < 0; ++i)
            if (!names[i].empty() && names[i][0] == 'z') found = i;
        benchmark::DoNotOptimize(found);
    }
}

}  // namespace

BENCHMARK(BM_TypeAheadNoMatch)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainScan)->Unit(benchmark::kMillisecond);
