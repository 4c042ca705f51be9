#pragma once
// Registering the hot keys without the key's auto-repeat where the system offers that.
#include <windows.h>

namespace tessera {

// RegisterHotKey with MOD_NOREPEAT, else (older systems refuse it) without; false when neither
// took the key (another program holds it).
bool RegisterHotKeyWithoutRepeat(HWND window, int id, UINT modifiers, UINT virtualKey);

}  // namespace tessera
