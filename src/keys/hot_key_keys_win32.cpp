#include "keys/hot_key_keys_win32.h"

#include "keys/key_sender_win32.h"

namespace tessera {
namespace {

// Often enough that the keys follow the user's release without a felt delay; the timer runs only
// while a command is under way.
constexpr UINT kPollMs = 20;

}  // namespace

// Systems before Windows 7 refuse MOD_NOREPEAT; Wine takes it and still repeats (the commands
// ignore repeats themselves, HotKeyKeys).
bool RegisterHotKeyWithoutRepeat(HWND window, int id, UINT modifiers, UINT virtualKey) {
    return ::RegisterHotKey(window, id, modifiers | MOD_NOREPEAT, virtualKey) ||
           ::RegisterHotKey(window, id, modifiers, virtualKey);
}

HotKeyKeysWin32::~HotKeyKeysWin32() {
    if (timerOn_) ::KillTimer(owner_, timerId_);
}

// Keys whose time has come go before a new hot key is weighed: the timer may be late.
bool HotKeyKeysWin32::Accept(int id, HotKeyChord chord) {
    Poll();
    if (!rules_.Accept(id, chord)) return false;
    Poll();
    return true;
}

void HotKeyKeysWin32::Send(KeysToSend keys) {
    rules_.Send(std::move(keys), ::GetTickCount());
    Poll();
}

void HotKeyKeysWin32::OnTimer() { Poll(); }

void HotKeyKeysWin32::Poll() {
    if (const std::optional<KeysToSend> due = rules_.Poll(AsyncKeyboardState(), ::GetTickCount()))
        SendKeysToTarget(due->target, due->keys, due->makeForeground);
    if (rules_.Watching() && !timerOn_) {
        timerOn_ = ::SetTimer(owner_, timerId_, kPollMs, nullptr) != 0;
    } else if (!rules_.Watching() && timerOn_) {
        ::KillTimer(owner_, timerId_);
        timerOn_ = false;
    }
}

}  // namespace tessera
