// Showing the chooser over a large store: the time of its showing (stale rows dropped, the list
// rebuilt, the newest item previewed) with every file present and with half of them gone, beside
// the time of as many bare file-existence checks in the same run, which is the floor.
//   chooser_bench_win32 [--items N] [--runs N] [--short]
// --short: 1,000 items and three runs, for the test run.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include "bench_timing_win32.h"
#include "commands/paste_chooser_win32.h"
#include "store/clip_store.h"
#include "store/disk_file_system.h"
#include "store/index_file.h"

namespace {

using namespace tessera;

using bench::Median;
using bench::NowMs;

std::string ItemName(int i) {
    char name[32];
    std::snprintf(name, sizeof name, "Texte_%05d.txt", i + 1);
    return name;
}

struct Store {
    std::string exeDir, dir;
    int items;
};

Store MakeStore(DiskFileSystem& fs, int items) {
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    Store s{std::string(temp) + "chooser_bench_" + std::to_string(::GetCurrentProcessId()) + "\\", {}, items};
    s.dir = s.exeDir + "Clipboard";
    fs.MakeDirectory(s.exeDir);
    fs.MakeDirectory(s.dir);
    ClipIndex index;
    for (int i = 0; i < items; ++i) {
        fs.ReplaceContents(s.dir + "\\" + ItemName(i), "{\\rtf1\\ansi item\\par}");
        index.AppendItem(ItemName(i).substr(0, 11), ItemName(i));
    }
    SaveIndexFile(fs, index, s.exeDir + "index.fic");
    return s;
}

void RemoveStore(DiskFileSystem& fs, const Store& s) {
    for (const std::string& name : fs.ListPlainFiles(s.dir)) fs.RemoveFile(s.dir + "\\" + name);
    fs.RemoveFile(s.exeDir + "index.fic");
    ::RemoveDirectoryA(s.dir.c_str());
    ::RemoveDirectoryA(s.exeDir.c_str());
}

// One showing as the paste command makes it, without the modal loop.
double TimeShowing(TChoix& choix) {
    ::ShowWindow(choix.hwnd(), SW_SHOW);
    const double start = NowMs();
    choix.FormShow();
    ::UpdateWindow(choix.hwnd());
    const double elapsed = NowMs() - start;
    ::ShowWindow(choix.hwnd(), SW_HIDE);
    return elapsed;
}

void Report(const char* name, const std::vector<double>& samples, double goal, double floor) {
    const double median = Median(samples);
    std::printf("%-34s median %8.2f ms  (goal < %.0f ms: %s; bare existence checks %.2f ms)\n", name, median, goal,
                median < goal ? "met" : "NOT met", floor);
}

int Run(int items, int runs) {
    DiskFileSystem fs;
    const Store store = MakeStore(fs, items);
    ClipIndex full;
    LoadIndexFile(fs, full, store.exeDir + "index.fic");

    std::vector<double> bare;
    for (int r = 0; r < runs; ++r) {
        const double start = NowMs();
        int found = 0;
        for (int i = 0; i < items; ++i) found += fs.FileExists(store.dir + "\\" + ItemName(i)) ? 1 : 0;
        bare.push_back(NowMs() - start);
        if (found != items) std::printf("warning: %d of %d files found\n", found, items);
    }
    const double floor = Median(bare);

    std::vector<double> present, halfStale;
    {
        ClipStore clips(fs, store.dir, store.exeDir + "index.fic");
        TChoix choix(clips, store.exeDir);
        for (int r = 0; r < runs; ++r) present.push_back(TimeShowing(choix));
    }
    // Every other file removed: the showing drops 5,000 rows of 10,000.
    for (int i = 0; i < items; i += 2) fs.RemoveFile(store.dir + "\\" + ItemName(i));
    {
        ClipStore clips(fs, store.dir, store.exeDir + "index.fic");
        TChoix choix(clips, store.exeDir);
        for (int r = 0; r < runs; ++r) {
            clips.grid = full;
            halfStale.push_back(TimeShowing(choix));
            if (choix.ListCount() != items / 2) std::printf("warning: %d lines after showing\n", choix.ListCount());
        }
    }
    RemoveStore(fs, store);

    std::printf("chooser showing, %d items, %d runs per case\n", items, runs);
    Report("all files present", present, 150, floor);
    Report("half of the files gone", halfStale, 250, floor);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    bench::Option options[] = {{"--items", 10000, 1000, 2}, {"--runs", 7, 3, 1}};
    bench::ReadOptions(argc, argv, options);
    const int items = options[0].value, runs = options[1].value;
    try {
        return Run(items, runs);
    } catch (const std::exception& e) {
        std::printf("error: %s\n", e.what());
        return 1;
    }
}
