#pragma once
// Makes another program act as if the user typed: finds its top-level window (by handle, or by
// title), brings it back into view and plays a key string on the real keyboard.
#include <windows.h>

#include <string>

#include "keys/hot_key_keys.h"
#include "keys/keyboard_output.h"
#include "keys/target_window.h"

namespace tessera {

// The real keyboard: the current layout's answers, and events through keybd_event.
class KeyboardOutputWin32 final : public KeyboardOutput {
public:
    std::uint16_t VkKeyScan(unsigned char character) override;
    std::uint8_t ScanCode(std::uint8_t virtualKey) override;
    void KeyEvent(std::uint8_t virtualKey, std::uint8_t scanCode, bool keyUp) override;
};

// The keyboard as GetAsyncKeyState reads it: the user's keys and the synthetic ones alike.
class AsyncKeyboardState final : public KeyboardState {
public:
    bool IsDown(std::uint8_t virtualKey) const override;
};

// The desktop's top-level windows, as the target rule sees them.
class WindowLookupWin32 final : public WindowLookup {
public:
    bool Exists(std::uintptr_t window) override;
    std::uintptr_t FindByTitle(const std::string& title) override;
};

// The top-level window titled exactly `title` (any class), or null when there is none.
HWND FindWindowByTitle(const std::string& title);
// The remembered window while it exists, else the window with its title (never an untitled one).
HWND FindTargetWindow(const RememberedWindow& remembered);
// Restores a minimised window; any other window is only brought to the top.
void RestoreOrRaiseWindow(HWND window);
// Plays `keys` on the real keyboard, to whichever window has the focus.
void SendKeyString(const std::string& keys);
// FindWindowByTitle, RestoreOrRaiseWindow and SendKeyString in that order, without waiting.
void SendKeysToWindow(const std::string& title, const std::string& keys);
// SetForegroundWindow when `makeForeground`; RestoreOrRaiseWindow; then the keys, over the
// modifiers the user holds (SendKeyStringKeepingModifiers). A null window only gets the keys.
void SendKeysToTarget(HWND window, const std::string& keys, bool makeForeground);

}  // namespace tessera
