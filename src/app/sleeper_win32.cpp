#include "app/sleeper_win32.h"

#include "win/application.h"

namespace tessera {
namespace {

constexpr UINT_PTR kTimerId = 1;

}  // namespace

// The timer lives on a message-only window of the sleeper's own, so that its ticks reach this
// object and no other.
TSleeper::TSleeper() { CreateWindowObject(L"TSleeper", 0, L"", 0, 0, 0, 0, 0, HWND_MESSAGE); }

// The wait blocks until a message arrives (or the timer ticks), then dispatches everything queued:
// the windows stay as responsive as with a spinning loop, without burning a core for the whole
// wait. MWMO_INPUTAVAILABLE wakes also for messages that arrived before the call but were not yet
// taken, so none waits for the next one. A program that is quitting stops waiting at once: its
// quit message stays queued and would wake the loop at every pass.
void TSleeper::Sleep() {
    if (!hwnd()) return;
    Done = false;
    if (!::SetTimer(hwnd(), kTimerId, static_cast<UINT>(interval_), nullptr)) return;
    win::Application& app = win::Application::Instance();
    while (!Done && !app.Terminated()) {
        ::MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        app.ProcessMessages();
    }
    ::KillTimer(hwnd(), kTimerId);
}

LRESULT TSleeper::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER && wParam == kTimerId) {
        Done = true;
        return 0;
    }
    return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace tessera
