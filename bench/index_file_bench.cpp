// Index file reading and writing, each beside a baseline measured in the same run: plain reading
// and splitting into lines for the reader, plain writing (with and without fsync) for the writer.
// The program ends with the ratios, which hold on a noisy machine better than the times do.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "store/disk_file_system.h"
#include "store/index_file.h"

#include "time_reporter.h"

namespace {

namespace fsys = std::filesystem;
constexpr int kRows = 100000;

// 100,000 items as captures name them, saved once; TESSERA_BENCH_DIR chooses the disk.
struct IndexData {
    fsys::path dir;
    std::string indexPath;
    std::string savePath;
    std::string plainPath;
    tessera::ClipIndex index;
    std::string bytes;

    IndexData() {
        const char* base = std::getenv("TESSERA_BENCH_DIR");
        const fsys::path parent = base ? fsys::path(base) : fsys::temp_directory_path();
        std::string pattern = (parent / "tessera-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot make " + pattern);
        dir = pattern;
        indexPath = (dir / "Tessera.FIC").string();
        savePath = (dir / "Saved.FIC").string();
        plainPath = (dir / "Plain.FIC").string();
        char name[32];
        for (int i = 0; i < kRows; ++i) {
            std::snprintf(name, sizeof name, "Image_%05d", i);
            index.AppendItem(name, std::string(name) + ".bmp");
        }
        bytes = tessera::EncodeIndexFile(index);
        tessera::DiskFileSystem fs;
        if (!fs.ReplaceContents(indexPath, bytes)) throw std::runtime_error("cannot write " + indexPath);
    }
    ~IndexData() {
        std::error_code ignored;
        fsys::remove_all(dir, ignored);
    }
};

IndexData& Data() {
    static IndexData data;
    return data;
}

void BM_ReadAndSplitLines(benchmark::State& state) {
    const IndexData& data = Data();
    std::vector<std::string_view> lines;
    for (auto _ : state) {
        std::FILE* file = std::fopen(data.indexPath.c_str(), "rb");
        std::fseek(file, 0, SEEK_END);
        std::string bytes(static_cast<std::size_t>(std::ftell(file)), '\0');
        std::rewind(file);
        bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file));
        std::fclose(file);
        lines.clear();
        std::string_view rest = bytes;
        for (std::size_t end; (end = rest.find("\r\n")) != std::string_view::npos; rest.remove_prefix(end + 2))
            lines.push_back(rest.substr(0, end));
        benchmark::DoNotOptimize(lines.data());
    }
    state.counters["lines"] = static_cast<double>(lines.size());
}

void BM_LoadIndexFile(benchmark::State& state) {
    const IndexData& data = Data();
    tessera::DiskFileSystem fs;
    for (auto _ : state) {
        tessera::ClipIndex index;
        tessera::LoadIndexFile(fs, index, data.indexPath);
        benchmark::DoNotOptimize(index.RowCount());
    }
}

void WritePlain(benchmark::State& state, bool sync) {
    const IndexData& data = Data();
    for (auto _ : state) {
        std::FILE* file = std::fopen(data.plainPath.c_str(), "wb");
        std::fwrite(data.bytes.data(), 1, data.bytes.size(), file);
        std::fflush(file);
        if (sync) ::fsync(::fileno(file));
        std::fclose(file);
    }
}
void BM_WritePlain(benchmark::State& state) { WritePlain(state, false); }
void BM_WritePlainWithFsync(benchmark::State& state) { WritePlain(state, true); }

void BM_SaveIndexFile(benchmark::State& state) {
    IndexData& data = Data();
    tessera::DiskFileSystem fs;
    for (auto _ : state) tessera::SaveIndexFile(fs, data.index, data.savePath);
}

// File work waits on the disk: wall-clock time is what the user sees.
BENCHMARK(BM_ReadAndSplitLines)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadIndexFile)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WritePlain)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WritePlainWithFsync)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveIndexFile)->UseRealTime()->Unit(benchmark::kMillisecond);

void PrintRatio(const tessera::bench::TimeReporter& reporter, const std::string& what, const std::string& of,
                const std::string& to) {
    const auto a = reporter.times.find(of);
    const auto b = reporter.times.find(to);
    if (a == reporter.times.end() || b == reporter.times.end() || b->second <= 0) return;
    std::cout << "  " << what << ": " << a->second / b->second << "\n";
}

}  // namespace

int main(int argc, char** argv) {
    // Each load builds a fresh table of several megabytes. By default glibc maps such blocks
    // anew and returns them at once, so every iteration would pay the kernel's page faults
    // (costly in a virtual machine) and the figures would swing with the allocator's state.
    // Keeping freed memory makes both sides of each ratio run on warm memory; set
    // TESSERA_BENCH_COLD=1 to measure with the default allocator instead.
    if (!std::getenv("TESSERA_BENCH_COLD")) {
        mallopt(M_MMAP_THRESHOLD, 256 << 20);
        mallopt(M_TRIM_THRESHOLD, 512 << 20);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    tessera::bench::TimeReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::cout << "Ratios (goal: at most 3)\n";
    PrintRatio(reporter, "load / read and split lines", "BM_LoadIndexFile", "BM_ReadAndSplitLines");
    PrintRatio(reporter, "save / plain write with fsync", "BM_SaveIndexFile", "BM_WritePlainWithFsync");
    PrintRatio(reporter, "save / plain write without fsync", "BM_SaveIndexFile", "BM_WritePlain");
    benchmark::Shutdown();
    return 0;
}
