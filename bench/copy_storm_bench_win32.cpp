// "Garder chaque copie" timed against a running Tessera that keeps every copy (bench/keep_every_copy.sh
// starts it and a notepad):
//   copy_storm_bench_win32 copy INDEX RUNS   each run puts a new line in notepad's "line.txt" window and
//                                            sends it WM_COPY, as Ctrl+C does; prints the ms to the
//                                            clipboard's change and to the index file INDEX written (the
//                                            item listed), one run per line
//   copy_storm_bench_win32 storm HZ SECONDS  another program's loop: a new text on the clipboard HZ times a
//                                            second for SECONDS; meanwhile, every second, the paste hot key
//                                            to the chooser shown (then closed). Prints "sets N", then
//                                            "paste MS" per showing
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "bench_timing_win32.h"
#include "commands/hot_key_commands.h"

namespace {

using tessera::bench::NowMs;

// Polls `done` every millisecond for up to 10 s; the ms since `start`, or -1.
template <typename Done>
double PollUntil(double start, Done done) {
    while (!done()) {
        if (NowMs() - start > 10000) return -1;
        ::Sleep(1);
    }
    return NowMs() - start;
}

// The file's size and last write: the index file is written whole at each new item.
std::pair<ULONGLONG, ULONGLONG> FileStamp(const char* path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExA(path, GetFileExInfoStandard, &data)) return {0, 0};
    return {(ULONGLONG{data.nFileSizeHigh} << 32) | data.nFileSizeLow,
            (ULONGLONG{data.ftLastWriteTime.dwHighDateTime} << 32) | data.ftLastWriteTime.dwLowDateTime};
}

// Waits between runs for longer than Tessera's quiet time, so that each copy is filed alone.
int TimeCopies(const char* index, int runs) {
    HWND notepad = ::FindWindowA("Notepad", "line.txt - Notepad");
    HWND edit = notepad ? ::FindWindowExA(notepad, nullptr, "Edit", nullptr) : nullptr;
    if (!edit) return 1;
    for (int run = 0; run < runs; ++run) {
        const std::string line = "Une ligne copiee depuis notepad, numero " + std::to_string(run);
        ::SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(line.c_str()));
        ::SendMessageA(edit, EM_SETSEL, 0, -1);
        const auto stamp = FileStamp(index);
        const DWORD sequence = ::GetClipboardSequenceNumber();
        const double start = NowMs();
        ::SendMessageA(edit, WM_COPY, 0, 0);
        const double changed = PollUntil(start, [&] { return ::GetClipboardSequenceNumber() != sequence; });
        const double listed = PollUntil(start, [&] { return FileStamp(index) != stamp; });
        std::printf("%.1f %.1f\n", changed, listed);
        if (changed < 0 || listed < 0) return 1;
        ::Sleep(2 * tessera::HotKeyCommands::kQuietMs);
    }
    return 0;
}

bool PutText(const std::string& text) {
    for (int tries = 0; !::OpenClipboard(nullptr); ++tries) {
        if (tries == 100) return false;
        ::Sleep(1);
    }
    ::EmptyClipboard();
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    if (block) {
        std::memcpy(::GlobalLock(block), text.c_str(), text.size() + 1);
        ::GlobalUnlock(block);
        if (!::SetClipboardData(CF_TEXT, block)) ::GlobalFree(block);
    }
    ::CloseClipboard();
    return block != nullptr;
}

// The chooser counts as open once it is shown with its lines, as the user sees it.
double TimePaste(HWND tessera, HWND chooser) {
    HWND list = ::FindWindowExA(chooser, nullptr, "ListBox", nullptr);
    const double start = NowMs();
    ::PostMessageA(tessera, WM_HOTKEY, tessera::HotKeyCommands::kPasteHotKey, 0);
    const double shown = PollUntil(start, [&] {
        DWORD_PTR lines = 0;
        return ::IsWindowVisible(chooser) &&
               ::SendMessageTimeoutA(list, LB_GETCOUNT, 0, 0, SMTO_NORMAL, 10000, &lines) && lines > 0;
    });
    ::PostMessageA(chooser, WM_CLOSE, 0, 0);
    PollUntil(NowMs(), [&] { return !::IsWindowVisible(chooser); });
    return shown;
}

int Storm(int hz, int seconds) {
    HWND tessera = ::FindWindowA("TForm1", "Tessera");
    HWND chooser = ::FindWindowA("TChoix", nullptr);
    if (!tessera || !chooser) return 1;
    const double start = NowMs(), end = start + seconds * 1000.0;
    std::atomic<int> sets = 0;
    std::thread loop([&] {
        for (double next = start; next < end; next += 1000.0 / hz) {
            while (NowMs() < next) ::Sleep(1);
            if (PutText("Texte du programme qui copie sans fin, tour " + std::to_string(sets.load()))) ++sets;
        }
    });
    std::vector<double> pastes;
    for (double next = start + 500; next < end; next += 1000) {
        while (NowMs() < next) ::Sleep(5);
        pastes.push_back(TimePaste(tessera, chooser));
    }
    loop.join();
    std::printf("sets %d\n", sets.load());
    for (const double ms : pastes) std::printf("paste %.1f\n", ms);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string verb = argc > 1 ? argv[1] : "";
    if (verb == "copy" && argc == 4) return TimeCopies(argv[2], std::atoi(argv[3]));
    if (verb == "storm" && argc == 4) return Storm(std::atoi(argv[2]), std::atoi(argv[3]));
    std::fprintf(stderr, "usage: copy_storm_bench_win32 copy INDEX RUNS | storm HZ SECONDS\n");
    return 2;
}
