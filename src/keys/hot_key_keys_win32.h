#pragma once
// The hot-key commands' keys on the real keyboard: a timer of the main window watches the user's
// keys of the hot key, and the keys go to the remembered window when the rules say so.
#include <windows.h>

#include "keys/hot_key_keys.h"

namespace tessera {

// RegisterHotKey without the key's auto-repeat where the system offers that, else with it.
bool RegisterHotKeyWithoutRepeat(HWND window, int id, UINT modifiers, UINT virtualKey);

// HotKeyKeys driven by the timer `timerId` of `owner`, whose WM_TIMER for it calls OnTimer.
class HotKeyKeysWin32 {
public:
    HotKeyKeysWin32(HWND owner, UINT_PTR timerId) : owner_(owner), timerId_(timerId) {}
    ~HotKeyKeysWin32();
    HotKeyKeysWin32(const HotKeyKeysWin32&) = delete;
    HotKeyKeysWin32& operator=(const HotKeyKeysWin32&) = delete;

    // False for a hot key to ignore (a repeat, or keys still waiting).
    bool Accept(int id, HotKeyChord chord);
    // Sends `keys` at once when the hot key is already let go, else from the timer.
    void Send(KeysToSend keys);
    void OnTimer();

private:
    void Poll();

    HWND owner_;
    UINT_PTR timerId_;
    bool timerOn_ = false;
    HotKeyKeys rules_;
};

}  // namespace tessera
