// Showing the chooser over a large store: the time of its showing (stale rows dropped, the list
// rebuilt, the newest item previewed) with every file present and with half of them gone, beside
// the time of as many bare file-existence checks in the same run, which is the floor. Then where
// a showing's time goes: reading the index file (beside the raw read of its bytes), listing the
// folder, creating the chooser, its first showing (the listing made in the background since its
// creation) and the later ones with nothing changed and after a file came and one went, each
// split into the stale-row drop, the list's rebuild and the first paint.
//   chooser_bench_win32 [--items N] [--runs N] [--short]
// --short: 1,000 items and three runs, for the test run.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "../tests/support/clip_store_probe.h"
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
    std::snprintf(name, sizeof name, "Texte_%06d.txt", i + 1);
    return name;
}

struct Store {
    std::string exeDir, dir;
    int items;
};

Store MakeStore(DiskFileSystem& fs, int items) {
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    Store s{std::string(temp) + "chooser_bench\\", {}, items};
    s.dir = s.exeDir + "Clipboard";
    fs.MakeDirectory(s.exeDir);
    fs.MakeDirectory(s.dir);
    ClipIndex index;
    for (int i = 0; i < items; ++i) {
        // Wine makes each new name cost a scan of the folder: a store made beforehand by a script
        // (Texte_000001.txt, ... in %TEMP%\chooser_bench\Clipboard) is taken as it is.
        if (!fs.FileExists(s.dir + "\\" + ItemName(i)))
            fs.CreateNewFile(s.dir + "\\" + ItemName(i), "{\\rtf1\\ansi item\\par}");
        index.AppendItem(ItemName(i).substr(0, 12), ItemName(i));
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

template <typename F>
double Time(F&& f) {
    const double start = NowMs();
    f();
    return NowMs() - start;
}

// A showing split into its steps, as TChoix::FormShow runs them: the drop, then the rest.
void ShowingSteps(const char* name, TChoix& choix, ClipStore& clips) {
    ::ShowWindow(choix.hwnd(), SW_SHOW);
    const double drop = Time([&] { clips.DropStaleRows(); });
    const double rest = Time([&] { choix.FormShow(); });
    const double paint = Time([&] { ::UpdateWindow(choix.hwnd()); });
    ::ShowWindow(choix.hwnd(), SW_HIDE);
    std::printf("  %-40s stale-row drop %7.2f ms, list rebuilt and previewed %7.2f ms, paint %6.2f ms\n", name, drop,
                rest, paint);
}

// Where the time of start-up and of a showing goes, one measurement each.
void Breakdown(DiskFileSystem& fs, const Store& store) {
    const std::string indexPath = store.exeDir + "index.fic";
    std::printf("breakdown, %d items\n", store.items);
    const double raw = Time([&] { fs.ReadAll(indexPath); });
    ClipIndex index;
    const double load = Time([&] { LoadIndexFile(fs, index, indexPath); });
    std::printf("  %-40s %7.2f ms (raw read of its bytes %.2f ms)\n", "index file read and decoded", load, raw);
    std::printf("  %-40s %7.2f ms\n", "folder listed", Time([&] { fs.ListFiles(store.dir); }));
    ClipStore clips(fs, store.dir, indexPath, IndexWriter::Mode::InBackground);
    std::unique_ptr<TChoix> choix;
    std::printf("  %-40s %7.2f ms\n", "store loaded and chooser created", Time([&] {
                    clips.Load();
                    choix = std::make_unique<TChoix>(clips, store.exeDir);
                }));
    ShowingSteps("first showing", *choix, clips);
    ShowingSteps("second showing, nothing changed", *choix, clips);
    fs.CreateNewFile(store.dir + "\\" + ItemName(store.items), "{\\rtf1 new}");
    fs.RemoveFile(store.dir + "\\" + ItemName(1));
    ShowingSteps("after a file came and one went", *choix, clips);
    fs.RemoveFile(store.dir + "\\" + ItemName(store.items));
    fs.CreateNewFile(store.dir + "\\" + ItemName(1), "{\\rtf1\\ansi item\\par}");
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
    Breakdown(fs, store);

    std::vector<double> present, halfStale;
    {
        ClipStore clips(fs, store.dir, store.exeDir + "index.fic", IndexWriter::Mode::InBackground);
        clips.Load();
        TChoix choix(clips, store.exeDir);
        for (int r = 0; r < runs; ++r) present.push_back(TimeShowing(choix));
    }
    // Every other file removed: the showing drops 5,000 rows of 10,000.
    for (int i = 0; i < items; i += 2) fs.RemoveFile(store.dir + "\\" + ItemName(i));
    {
        ClipStore clips(fs, store.dir, store.exeDir + "index.fic", IndexWriter::Mode::InBackground);
        clips.Load();
        TChoix choix(clips, store.exeDir);
        for (int r = 0; r < runs; ++r) {
            ClipStoreProbe::Grid(clips) = full;
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
