#pragma once
// The keys a hot-key command plays into another program, timed against the user's own keys of
// the hot key: a hot key held down neither repeats the command nor types into the target.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "keys/hot_key.h"
#include "keys/keyboard_output.h"
#include "keys/target_window.h"

namespace tessera {

// The port through which the rules read which keys the user holds (virtual keys).
class KeyboardState {
public:
    virtual ~KeyboardState() = default;
    virtual bool IsDown(std::uint8_t virtualKey) const = 0;
};

// Plays the key string `keys` without changing the modifiers (Shift, Ctrl, Alt) the user holds:
// one the string presses itself is left as the user holds it, any other is released around the
// string and pressed again after it.
void SendKeyStringKeepingModifiers(std::string_view keys, const KeyboardState& held, KeyboardOutput& out);

// What a command sends, and where.
struct KeysToSend {
    std::string keys;
    RememberedWindow target;
    // Make the target the foreground window again first (the paste, after the chooser had it).
    bool makeForeground = false;
    // Sent to the target only: none when it is gone (the paste); else to the focus then.
    bool onlyToTarget = false;
};

// One command at a time: when its keys may go, and which hot keys to ignore meanwhile. Times are
// milliseconds of a clock that may wrap.
class HotKeyKeys {
public:
    // The longest the keys wait for the user to let go of the hot key.
    static constexpr std::uint32_t kReleaseWaitMs = 1000;

    // False for a hot key to ignore: the auto-repeat of the last one (the same id before its key
    // was seen up), or any hot key while the keys of the command under way still wait.
    bool Accept(int id, HotKey keys);
    // The accepted command's keys: they go once its hot key is let go, at the latest kReleaseWaitMs
    // after `now`.
    void Send(KeysToSend keys, std::uint32_t now);
    // Looks at the keyboard: the keys to send now, when their time has come.
    std::optional<KeysToSend> Poll(const KeyboardState& keyboard, std::uint32_t now);
    // Whether Poll is still needed.
    bool Watching() const { return repeatOf_ || waiting_; }

private:
    std::optional<int> repeatOf_;
    HotKey keys_{};
    std::optional<KeysToSend> waiting_;
    std::uint32_t deadline_ = 0;
};

}  // namespace tessera
