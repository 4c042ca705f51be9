// What the animated tray icon costs while the program sits idle: the process's CPU time against
// the wall time at the program's own pace (three frames, 500 ms each), and its handle count,
// GDI and USER object counts and working set after 0, 500 and 1,000 frames played at a fast
// pace. The handle count comes from the process list, which Wine fills in; Wine answers 0 for
// the GDI and USER counts, so under Wine the memory stands in for them.
//   tray_idle_bench_win32 [--seconds N] [--frames N] [--short]
// --short: 5 s and 100 frames, for the test run.
#include <windows.h>

#include <psapi.h>
#include <winternl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "../tests/support/handle_count_win32.h"
#include "bench_timing_win32.h"
#include "controls/tray_icon_win32.h"

namespace {

using namespace tessera;

double CpuSeconds() {
    FILETIME created, exited, kernel, user;
    ::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto seconds = [](FILETIME t) {
        return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7;
    };
    return seconds(kernel) + seconds(user);
}

// Runs the message loop, blocking between messages, until `ms` have passed.
void RunFor(DWORD ms) {
    const DWORD end = ::GetTickCount() + ms;
    for (;;) {
        const LONG left = static_cast<LONG>(end - ::GetTickCount());
        if (left <= 0) return;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left), QS_ALLINPUT);
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
}

// Counts frames by watching the frame index change, pumping messages meanwhile.
void WaitFrames(TTrayIcon& tray, int frames) {
    int seen = 0, last = tray.FrameIndex();
    while (seen < frames) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
        const int now = tray.FrameIndex();
        if (now != last) {
            ++seen;
            last = now;
        }
    }
}

void PrintCounts(int frames) {
    PROCESS_MEMORY_COUNTERS memory{};
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &memory, sizeof memory);
    std::printf("  after %5d frames: %4lu handles, %4lu GDI objects, %4lu USER objects, %6llu KB working set\n", frames,
                tessera::testing::HandleCountOf(::GetCurrentProcessId()),
                ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS),
                ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS),
                static_cast<unsigned long long>(memory.WorkingSetSize / 1024));
}

}  // namespace

int main(int argc, char** argv) {
    bench::Option options[] = {{"--seconds", 60, 5, 1}, {"--frames", 1000, 100, 2}};
    bench::ReadOptions(argc, argv, options);
    const int seconds = options[0].value, frames = options[1].value;
    TrayIconWin32 icon;
    TTrayIcon& tray = icon.Tray();
    tray.SetHint("Tessera");
    SetIconsFromResources(tray, ::GetModuleHandleW(nullptr), L"MAINICON", {L"FRAME0", L"FRAME1", L"FRAME2"});
    tray.SetInterval(500);
    tray.SetAnimated(true);
    if (!tray.Added()) std::printf("warning: the icon is not in the notification area\n");

    RunFor(1000);  // settle
    const double cpu0 = CpuSeconds();
    const DWORD wall0 = ::GetTickCount();
    RunFor(static_cast<DWORD>(seconds) * 1000);
    const double cpu = CpuSeconds() - cpu0;
    const double wall = (::GetTickCount() - wall0) / 1000.0;
    const double share = 100.0 * cpu / wall;
    std::printf("tray icon idle, 500 ms per frame, %.0f s: CPU %.3f s = %.3f %% of one core (goal < 1 %%: %s)\n", wall,
                cpu, share, share < 1.0 ? "met" : "NOT met");

    std::printf("object counts, frames at 10 ms:\n");
    tray.SetInterval(10);
    WaitFrames(tray, 3);
    PrintCounts(0);
    WaitFrames(tray, frames / 2);
    PrintCounts(frames / 2);
    WaitFrames(tray, frames - frames / 2);
    PrintCounts(frames);
    return 0;
}
