#pragma once
// Runs this thread's messages in a test until what it waits for has happened.
#include <windows.h>

#include <functional>

namespace tessera::testing {

// Dispatches this thread's messages until `done` holds; false when `timeoutMs` passed first.
// Notifications may come late under Wine: tests wait for what they expect.
inline bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        MSG msg{};
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (done()) return true;
        if (::GetTickCount() - start >= timeoutMs) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

}  // namespace tessera::testing
