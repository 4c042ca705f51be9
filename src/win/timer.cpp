#include "win/timer.h"

#include <utility>

namespace tessera::win {
namespace {
constexpr UINT_PTR kTimerId = 1;
}

Timer::Timer(std::function<void()> onTick) : onTick_(std::move(onTick)) {
    CreateWindowObject(L"TesseraTimer", 0, L"", 0, 0, 0, 0, 0, HWND_MESSAGE);
}

void Timer::Start(UINT ms) {
    if (!running_) running_ = ::SetTimer(hwnd(), kTimerId, ms, nullptr) != 0;
}

void Timer::Stop() {
    if (running_) ::KillTimer(hwnd(), kTimerId);
    running_ = false;
}

LRESULT Timer::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER && wParam == kTimerId) {
        if (onTick_) onTick_();
        return 0;
    }
    return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace tessera::win
