// TSleeper against the real message queue: the wait lasts one tick of its timer, messages are
// dispatched as they arrive, and the thread sleeps rather than spins meanwhile.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "app/sleeper_win32.h"

namespace tessera {
namespace {

using Clock = std::chrono::steady_clock;
constexpr UINT kPing = WM_APP + 7;

std::atomic<bool> g_pinged = false;
Clock::time_point g_pingedAt;

LRESULT CALLBACK PingProc(HWND h, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kPing) {
        g_pingedAt = Clock::now();
        g_pinged = true;
        return 0;
    }
    return ::DefWindowProcW(h, message, wParam, lParam);
}

HWND MakePingWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = PingProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"SleeperTestPing";
    ::RegisterClassW(&wc);
    return ::CreateWindowExW(0, L"SleeperTestPing", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
}

double CpuSeconds() {
    FILETIME created, exited, kernel, user;
    ::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto seconds = [](const FILETIME& t) {
        return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7;
    };
    return seconds(kernel) + seconds(user);
}

// The measure itself must see a spinning thread, or the CPU check below proves nothing.
TEST(SleeperTest, ProcessTimesSeeASpinningThread) {
    const double before = CpuSeconds();
    const Clock::time_point until = Clock::now() + std::chrono::milliseconds(300);
    volatile unsigned long long spins = 0;
    while (Clock::now() < until) spins = spins + 1;
    EXPECT_GT(CpuSeconds() - before, 0.15);
}

TEST(SleeperTest, WaitsOneTickDispatchingMessagesAsTheyArriveWithoutSpinning) {
    TSleeper sleeper;
    sleeper.SetInterval(2000);
    EXPECT_EQ(sleeper.Interval(), 2000);
    HWND ping = MakePingWindow();
    ASSERT_NE(ping, nullptr);

    const Clock::time_point start = Clock::now();
    const double cpuBefore = CpuSeconds();
    // Posted from another thread while the GUI thread waits: the wait must wake up for it.
    std::thread poster([ping] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        ::PostMessageW(ping, kPing, 0, 0);
    });
    sleeper.Sleep();
    const double cpu = CpuSeconds() - cpuBefore;
    const Clock::time_point end = Clock::now();
    poster.join();

    const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(end - start).count();
    EXPECT_TRUE(sleeper.Done);
    // Timers may round their interval to the clock's tick (about 15 ms) either way.
    EXPECT_GE(waited, 1950);
    EXPECT_LT(waited, 3000);

    ASSERT_TRUE(g_pinged);
    const auto pingedAfter = std::chrono::duration_cast<std::chrono::milliseconds>(g_pingedAt - start).count();
    EXPECT_LT(pingedAfter, 1000) << "the posted message waited for the end of the sleep";

    RecordProperty("waited_ms", std::to_string(waited));
    RecordProperty("cpu_ms", std::to_string(static_cast<long>(cpu * 1000)));
    // A spinning loop would use the whole core for the whole wait.
    EXPECT_LT(cpu, 0.1 * (static_cast<double>(waited) / 1000.0)) << "CPU " << cpu << " s over " << waited << " ms";
    ::DestroyWindow(ping);
}

TEST(SleeperTest, TheTimerStopsWithTheSleep) {
    TSleeper sleeper;
    sleeper.SetInterval(50);
    sleeper.Sleep();
    ASSERT_TRUE(sleeper.Done);
    // No tick arrives once Sleep has returned: a second Sleep waits for a tick of its own.
    sleeper.Done = false;
    MSG msg;
    const Clock::time_point until = Clock::now() + std::chrono::milliseconds(200);
    while (Clock::now() < until) {
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
        ::Sleep(10);
    }
    EXPECT_FALSE(sleeper.Done);
}

}  // namespace
}  // namespace tessera
