#include "keys/key_sender_win32.h"

#include "keys/key_string.h"

namespace tessera {

std::uint16_t KeyboardOutputWin32::VkKeyScan(unsigned char character) {
    return static_cast<std::uint16_t>(::VkKeyScanA(static_cast<CHAR>(character)));
}

std::uint8_t KeyboardOutputWin32::ScanCode(std::uint8_t virtualKey) {
    return static_cast<std::uint8_t>(::MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC));
}

// No event carries the extended-key flag, the navigation keys included: programs that read the
// virtual key get Home, End, ... as asked. The result is ignored, as nothing could be done about
// a lost event.
void KeyboardOutputWin32::KeyEvent(std::uint8_t virtualKey, std::uint8_t scanCode, bool keyUp) {
    ::keybd_event(virtualKey, scanCode, keyUp ? KEYEVENTF_KEYUP : 0, 0);
}

bool AsyncKeyboardState::IsDown(std::uint8_t virtualKey) const {
    return (::GetAsyncKeyState(virtualKey) & 0x8000) != 0;
}

// The caller may hand over titles of up to 4095 characters (the hot-key commands record them in
// a 4096-byte buffer). They are searched whole rather than cut to 255: FindWindowA matches the
// full title, so a cut one would never find the window whose title was recorded and the keys
// would go to whatever had the focus. The std::string is its own zero-terminated copy, so no
// fixed buffer can be overrun (a title holding a zero byte is searched up to it).
HWND FindWindowByTitle(const std::string& title) { return ::FindWindowA(nullptr, title.c_str()); }

bool WindowLookupWin32::Exists(std::uintptr_t window) { return ::IsWindow(reinterpret_cast<HWND>(window)) != FALSE; }

std::uintptr_t WindowLookupWin32::FindByTitle(const std::string& title) {
    return reinterpret_cast<std::uintptr_t>(FindWindowByTitle(title));
}

HWND FindTargetWindow(const RememberedWindow& remembered) {
    WindowLookupWin32 windows;
    return reinterpret_cast<HWND>(ChooseTargetWindow(remembered, windows));
}

// A window in view is only brought to the top, with no other activation call: a maximised window
// must stay maximised, which SW_RESTORE would undo. A null handle does nothing useful here, and
// the keys are sent anyway.
void RestoreOrRaiseWindow(HWND window) {
    if (::IsIconic(window)) {
        ::ShowWindow(window, SW_RESTORE);
    } else {
        ::BringWindowToTop(window);
    }
}

void SendKeyString(const std::string& keys) {
    KeyboardOutputWin32 keyboard;
    SendKeyString(std::string_view(keys), keyboard);
}

// The events land in the system's input queue and are handled by the target after this returns;
// a caller that needs their effect waits for it by other means.
void SendKeysToWindow(const std::string& title, const std::string& keys) {
    RestoreOrRaiseWindow(FindWindowByTitle(title));
    SendKeyString(keys);
}

// The paste comes after the chooser had the foreground: the keys go to the foreground's focus, so
// the foreground goes back to the window they are meant for. The copy only raises its window, as
// the window in front is the one it was made in.
void SendKeysToTarget(HWND window, const std::string& keys, bool makeForeground) {
    if (window && makeForeground) ::SetForegroundWindow(window);
    RestoreOrRaiseWindow(window);
    KeyboardOutputWin32 keyboard;
    SendKeyStringKeepingModifiers(keys, AsyncKeyboardState(), keyboard);
}

}  // namespace tessera
