// The search over a store of 100,000 items (search_store.h), each figure beside a baseline
// measured in the same run:
//   queries of five kinds (a one-letter word, a rare word, two words, a word with accents typed
//   without them, a word found nowhere): median and slowest, beside a linear scan of the
//   folded texts for the same queries;
//   the start-up: the cache read, decoded and adopted by an index of the 100,000 names, beside a
//   raw read of the cache's bytes; the build when nothing changed (stamps checked, cache kept);
//   the build from nothing (every file read and parsed), beside a raw read of every file;
//   the rich-text reader's speed, beside a scan of the same bytes for backslashes;
//   the index's memory, counted and as resident memory (VmRSS) before and after loading it and
//   searching, in a process of its own.
// The store is made in a temporary folder and removed at the end, unless TESSERA_SEARCH_STORE
// names a folder that make_search_store wrote. Files are read warm (from the page cache).
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "search/disk_item_files.h"
#include "search/item_texts.h"
#include "search/search_build.h"
#include "search/search_index.h"
#include "search_store.h"
#include "text/folded_words.h"
#include "text/rtf_text.h"

#include "time_reporter.h"

namespace {

namespace fsys = std::filesystem;
using tessera::bench::StoreItem;

// The whole file in one read, as the program reads its files.
std::string ReadFile(const std::string& path) {
    std::string bytes;
    if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
        std::fseek(file, 0, SEEK_END);
        bytes.resize(static_cast<std::size_t>(std::ftell(file)));
        std::rewind(file);
        bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file));
        std::fclose(file);
    }
    return bytes;
}

long ResidentKb() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
    return 0;
}

enum Kind { kOneLetter, kRare, kTwoWords, kAccents, kNowhere, kKinds };
const char* const kKindNames[kKinds] = {"one letter", "rare word", "two words", "accents typed without",
                                        "found nowhere"};

struct Store {
    std::string dir;
    bool own = false;
    std::vector<StoreItem> items;
    std::vector<tessera::BuildItem> buildItems;
    std::string cachePath;

    Store() {
        if (const char* given = std::getenv("TESSERA_SEARCH_STORE");
            given && fsys::exists(fsys::path(given) / "Tessera.FIC")) {
            dir = given;
            items = tessera::bench::ReadSearchStore(dir);
        } else {
            std::string pattern = (fsys::temp_directory_path() / "tessera-search-XXXXXX").string();
            if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot make " + pattern);
            dir = pattern;
            own = true;
            items = tessera::bench::MakeSearchStore(dir);
        }
        for (const auto& item : items) buildItems.push_back({item.fileName, item.text});
        cachePath = (fsys::path(dir) / "Tessera.SCH").string();
        if (!fsys::exists(cachePath)) {
            tessera::DiskItemFiles files(StoreDir());
            std::ofstream(cachePath, std::ios::binary)
                << tessera::BuildSearchTexts(buildItems, "", files).texts->CacheBytes();
        }
    }
    ~Store() {
        std::error_code ignored;
        if (own) fsys::remove_all(dir, ignored);
    }
    std::string StoreDir() const { return (fsys::path(dir) / "Clipboard").string(); }

    // The start-up: the items' names, then the cache's texts.
    void Load(tessera::SearchIndex& index) const {
        for (const auto& item : items) index.Add(item.fileName, item.displayName);
        auto texts = tessera::DecodeSearchCache(ReadFile(cachePath));
        if (!texts) throw std::runtime_error("cannot read " + cachePath);
        index.AdoptTexts(std::make_shared<const tessera::ItemTexts>(std::move(*texts)));
    }
};

Store& TheStore() {
    static Store store;
    return store;
}

// The index of the store, its queries by kind, and the folded texts a linear scan reads.
struct Searches {
    tessera::SearchIndex index;
    std::shared_ptr<const tessera::ItemTexts> texts;
    std::vector<std::string> queries[kKinds];
    std::vector<tessera::SearchIndex::ItemId> ids;
    std::vector<std::string> folded;                   // per item: " name words | text words"
    std::map<std::string, std::vector<double>> times;  // milliseconds per query run

    Searches() {
        const Store& store = TheStore();
        store.Load(index);
        for (const auto& item : store.items) ids.push_back(index.Find(item.fileName));
        auto decoded = tessera::DecodeSearchCache(ReadFile(store.cachePath));
        texts = std::make_shared<const tessera::ItemTexts>(std::move(*decoded));
        MakeQueries();
    }

    // How many documents hold each word of the texts.
    std::vector<std::pair<std::size_t, std::string>> WordsByFrequency() const {
        const auto& words = texts->Words();
        std::vector<std::pair<std::size_t, std::string>> byCount;
        for (std::size_t i = 0; i < words.WordCount(); ++i) {
            std::size_t count = 0;
            for (const char c : words.Postings(i)) count += (static_cast<unsigned char>(c) & 0x80) == 0;
            byCount.emplace_back(count, std::string(words.Word(i)));
        }
        std::sort(byCount.rbegin(), byCount.rend());
        return byCount;
    }

    void MakeQueries() {
        for (char c = 'a'; c <= 'z'; ++c) queries[kOneLetter].push_back(std::string(1, c));
        const auto byCount = WordsByFrequency();
        std::vector<std::string> rare;
        for (const auto& [count, word] : byCount)
            if (count == 1 && word.size() >= 7) rare.push_back(word);
        for (std::size_t i = 0; i < 25 && !rare.empty(); ++i) queries[kRare].push_back(rare[i * rare.size() / 25]);
        // Two words a user might type, the first in full, the second begun.
        for (std::size_t i = 0; i < 25; ++i) {
            const std::string& a = byCount[100 + i * 120].second;
            const std::string& b = byCount[160 + i * 97].second;
            queries[kTwoWords].push_back(a + " " + b.substr(0, std::max<std::size_t>(3, b.size() / 2)));
        }
        // Words of the French list that have accents and are in the texts, typed without them.
        std::ifstream french("/usr/share/dict/french");
        std::map<std::string, bool> accented;
        for (std::string line; std::getline(french, line);)
            if (std::any_of(line.begin(), line.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; }))
                accented[tessera::FoldWords(line)] = true;
        std::vector<std::string> withAccents;
        for (const auto& [count, word] : byCount)
            if (count >= 20 && accented.count(" " + word)) withAccents.push_back(word);
        for (std::size_t i = 0; i < 25 && !withAccents.empty(); ++i)
            queries[kAccents].push_back(withAccents[i * withAccents.size() / 25]);
        for (int i = 0; i < 25; ++i) queries[kNowhere].push_back("qzxj" + std::string(1, static_cast<char>('a' + i)));
    }

    void FoldForScan() {
        if (!folded.empty()) return;
        const Store& store = TheStore();
        std::map<std::string, std::size_t> docOf;
        for (std::size_t doc = 0; doc < texts->Count(); ++doc) docOf[std::string(texts->FileName(doc))] = doc;
        tessera::DiskItemFiles files(store.StoreDir());
        for (const auto& item : store.items) {
            std::string text = tessera::FoldWords(item.displayName);
            if (item.text) text += tessera::FoldWords(tessera::RtfToText(files.Read(item.fileName).value_or("")));
            folded.push_back(std::move(text));
        }
    }

    // The linear scan: every item's folded words, each query word looked for at a word's start.
    std::size_t Scan(const std::string& query) const {
        std::vector<std::string> needles;
        tessera::FoldedWords words(query);
        for (std::string_view word; words.Next(word);) needles.push_back(" " + std::string(word));
        std::size_t found = 0;
        for (const std::string& text : folded) {
            bool all = true;
            for (const auto& needle : needles) all = all && text.find(needle) != std::string::npos;
            found += all;
        }
        return found;
    }
};

Searches& TheSearches() {
    static Searches searches;
    return searches;
}

double Milliseconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

void BM_Query(benchmark::State& state) {
    Searches& s = TheSearches();
    const auto kind = static_cast<Kind>(state.range(0));
    const auto& queries = s.queries[kind];
    std::vector<std::vector<double>> perQuery(queries.size());
    std::size_t i = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const tessera::SearchResult result = s.index.Search(queries[i % queries.size()]);
        // What the chooser does next: ask for each row in its order.
        std::size_t shown = 0;
        for (const auto id : s.ids) shown += result.Contains(id);
        benchmark::DoNotOptimize(shown);
        perQuery[i % queries.size()].push_back(Milliseconds(std::chrono::steady_clock::now() - start));
        ++i;
    }
    auto& all = s.times[std::string("index ") + kKindNames[kind]];
    double slowest = 0;
    for (auto& runs : perQuery) {
        if (runs.empty()) continue;
        all.insert(all.end(), runs.begin(), runs.end());
        std::sort(runs.begin(), runs.end());
        slowest = std::max(slowest, runs[runs.size() / 2]);
    }
    s.times[std::string("slowest query ") + kKindNames[kind]] = {slowest};
    state.SetLabel(kKindNames[kind]);
}

void BM_LinearScan(benchmark::State& state) {
    Searches& s = TheSearches();
    s.FoldForScan();
    const auto kind = static_cast<Kind>(state.range(0));
    const auto& queries = s.queries[kind];
    auto& all = s.times[std::string("scan ") + kKindNames[kind]];
    std::size_t i = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(s.Scan(queries[i++ % queries.size()]));
        all.push_back(Milliseconds(std::chrono::steady_clock::now() - start));
    }
    state.SetLabel(kKindNames[kind]);
}

void BM_ReadCacheRaw(benchmark::State& state) {
    const Store& store = TheStore();
    for (auto _ : state) benchmark::DoNotOptimize(ReadFile(store.cachePath).size());
    state.counters["MB"] = static_cast<double>(fsys::file_size(store.cachePath)) / 1e6;
}

// Start-up: the names of every item, then the cache read, decoded and adopted.
void BM_LoadCacheAndIndex(benchmark::State& state) {
    const Store& store = TheStore();
    for (auto _ : state) {
        tessera::SearchIndex index;
        store.Load(index);
        benchmark::DoNotOptimize(index.ItemCount());
    }
}

void BM_AddNamesOnly(benchmark::State& state) {
    const Store& store = TheStore();
    for (auto _ : state) {
        tessera::SearchIndex index;
        for (const auto& item : store.items) index.Add(item.fileName, item.displayName);
        benchmark::DoNotOptimize(index.ItemCount());
    }
}

// The build at a start where nothing changed: the cache decoded, every stamp checked.
void BM_BuildNothingChanged(benchmark::State& state) {
    const Store& store = TheStore();
    const std::string cache = ReadFile(store.cachePath);
    tessera::DiskItemFiles files(store.StoreDir());
    for (auto _ : state) benchmark::DoNotOptimize(tessera::BuildSearchTexts(store.buildItems, cache, files).filesRead);
}

void BM_ReadAllFilesRaw(benchmark::State& state) {
    const Store& store = TheStore();
    tessera::DiskItemFiles files(store.StoreDir());
    std::size_t bytes = 0;
    for (auto _ : state)
        for (const auto& item : store.items)
            if (item.text) bytes += files.Read(item.fileName).value_or("").size();
    state.counters["MB"] = static_cast<double>(bytes) / 1e6 / static_cast<double>(state.iterations());
}

void BM_BuildFromNothing(benchmark::State& state) {
    const Store& store = TheStore();
    tessera::DiskItemFiles files(store.StoreDir());
    for (auto _ : state) benchmark::DoNotOptimize(tessera::BuildSearchTexts(store.buildItems, "", files).filesRead);
}

// About 30 MB of the store's rich text, the larger files first.
const std::string& RtfSample() {
    static const std::string sample = [] {
        const Store& store = TheStore();
        tessera::DiskItemFiles files(store.StoreDir());
        std::string bytes;
        for (const auto& item : store.items)
            if (item.text && bytes.size() < 30'000'000) bytes += files.Read(item.fileName).value_or("");
        return bytes;
    }();
    return sample;
}

void BM_ScanForBackslashes(benchmark::State& state) {
    const std::string& sample = RtfSample();
    for (auto _ : state) benchmark::DoNotOptimize(std::count(sample.begin(), sample.end(), '\\'));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * sample.size()));
}

// The sample is many documents back to back: the reader stops after the first one's end, so
// each document is read on its own, as the build reads them.
void BM_RtfToText(benchmark::State& state) {
    const std::string& sample = RtfSample();
    std::vector<std::string_view> documents;
    for (std::size_t at = 0; at < sample.size();) {
        std::size_t next = sample.find("{\\rtf1", at + 1);
        if (next == std::string::npos) next = sample.size();
        documents.emplace_back(sample.data() + at, next - at);
        at = next;
    }
    for (auto _ : state)
        for (const auto document : documents) benchmark::DoNotOptimize(tessera::RtfToText(document).size());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * sample.size()));
}

// A capture of a 1,000-character text into the full index (its file name new each time).
void BM_CaptureIntoIndex(benchmark::State& state) {
    Searches& s = TheSearches();
    std::string text;
    for (int i = 0; text.size() < 1000; ++i) text += s.queries[kTwoWords][i % 25] + " ";
    int n = 0;
    for (auto _ : state) {
        const std::string name = "Texte_9" + std::to_string(n++) + ".txt";
        s.index.Add(name, "Texte");
        s.index.SetText(name, text);
    }
    for (int i = 0; i < n; ++i) s.index.Remove("Texte_9" + std::to_string(i) + ".txt");
}

BENCHMARK(BM_Query)->DenseRange(0, kKinds - 1)->MinTime(0.5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LinearScan)->DenseRange(0, kKinds - 1)->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadCacheRaw)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadCacheAndIndex)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AddNamesOnly)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildNothingChanged)->UseRealTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadAllFilesRaw)->UseRealTime()->Iterations(1)->Repetitions(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildFromNothing)->UseRealTime()->Iterations(1)->Repetitions(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanForBackslashes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RtfToText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CaptureIntoIndex)->Unit(benchmark::kMicrosecond);

double Median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}
double Max(const std::vector<double>& v) { return v.empty() ? 0 : *std::max_element(v.begin(), v.end()); }

// Run as a process of its own: resident memory before and after the start-up's load and a
// round of searches of every kind, and the bytes the index counts.
int MeasureMemory() {
    const Store& store = TheStore();
    const long before = ResidentKb();
    tessera::SearchIndex index;
    store.Load(index);
    for (const char* query : {"a", "e", "s", "maison", "eleve", "qzxj", "de la"})
        benchmark::DoNotOptimize(index.Search(query).Count());
    const long after = ResidentKb();
    std::printf("%ld %ld %zu\n", before, after, index.MemoryBytes());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "--memory") return MeasureMemory();
    // As in the index file's benchmark: freed memory kept, so that both sides of each ratio run
    // on warm memory (TESSERA_BENCH_COLD=1 measures with the default allocator).
    if (!std::getenv("TESSERA_BENCH_COLD")) {
        mallopt(M_MMAP_THRESHOLD, 256 << 20);
        mallopt(M_TRIM_THRESHOLD, 512 << 20);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    TheStore();  // made before the measured process reads it
    tessera::bench::TimeReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    long before = 0, after = 0;
    std::size_t counted = 0;
    {
        const std::string command = "'/proc/" + std::to_string(::getpid()) + "/exe' --memory";
        setenv("TESSERA_SEARCH_STORE", TheStore().dir.c_str(), 1);
        if (std::FILE* pipe = ::popen(command.c_str(), "r")) {
            if (std::fscanf(pipe, "%ld %ld %zu", &before, &after, &counted) != 3) before = after = 0;
            ::pclose(pipe);
        }
    }

    const auto& t = reporter.times;
    const auto at = [&t](const char* name) {
        const auto it = t.find(name);
        return it == t.end() ? 0.0 : it->second;
    };
    std::map<std::string, std::vector<double>> times;
    if (auto* s = &TheSearches()) times = s->times;
    std::printf("\nSearch over %zu items (figure, then its baseline measured in this run)\n", TheStore().items.size());
    for (int k = 0; k < kKinds; ++k) {
        const std::string kind = kKindNames[k];
        std::printf(
            "  query, %-24s median %7.3f ms, slowest query %7.3f ms, slowest run %7.3f ms   linear scan median %7.1f "
            "ms\n",
            kind.c_str(), Median(times["index " + kind]), Max(times["slowest query " + kind]),
            Max(times["index " + kind]), Median(times["scan " + kind]));
    }
    std::printf(
        "  start-up: names, cache read, decoded, adopted   %7.1f ms   raw read of the cache (%.1f MB) %.1f ms; names "
        "alone %.1f ms\n",
        at("BM_LoadCacheAndIndex"), static_cast<double>(fsys::file_size(TheStore().cachePath)) / 1e6,
        at("BM_ReadCacheRaw"), at("BM_AddNamesOnly"));
    std::printf("  build, nothing changed (stamps checked)          %7.1f ms\n", at("BM_BuildNothingChanged"));
    std::printf("  build from nothing (read, parse, index)          %7.0f ms   raw read of every file %.0f ms\n",
                at("BM_BuildFromNothing"), at("BM_ReadAllFilesRaw"));
    const double sampleMb = static_cast<double>(RtfSample().size()) / 1e6;
    std::printf("  rich text to plain text                          %7.0f MB/s   scan for backslashes %.0f MB/s\n",
                sampleMb / (at("BM_RtfToText") / 1e3), sampleMb / (at("BM_ScanForBackslashes") / 1e3));
    std::printf("  capture of a 1,000-character text                %7.1f us\n", at("BM_CaptureIntoIndex"));
    std::printf(
        "  index memory: %.1f MB counted; resident %.1f MB before loading, %.1f MB after and searches (+%.1f MB)\n",
        static_cast<double>(counted) / 1e6, before / 1024.0, after / 1024.0, (after - before) / 1024.0);
    benchmark::Shutdown();
    return 0;
}
