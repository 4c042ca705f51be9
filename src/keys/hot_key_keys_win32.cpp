#include "keys/hot_key_keys_win32.h"

namespace tessera {

// Systems before Windows 7 refuse MOD_NOREPEAT; Wine takes it and still repeats (the commands
// ignore repeats themselves, HotKeyKeys).
bool RegisterHotKeyWithoutRepeat(HWND window, int id, UINT modifiers, UINT virtualKey) {
    return ::RegisterHotKey(window, id, modifiers | MOD_NOREPEAT, virtualKey) ||
           ::RegisterHotKey(window, id, modifiers, virtualKey);
}

}  // namespace tessera
