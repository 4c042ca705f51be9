#pragma once
// The copy and paste hot keys and the capture that follows a clipboard change, in their order:
// what is ignored, what is remembered, what goes on the clipboard and when the keys go.
#include <cstdint>
#include <optional>
#include <string>

#include "keys/hot_key_keys.h"
#include "keys/target_window.h"

namespace tessera {

// What the commands ask of the program and of Windows.
class CommandPort {
public:
    virtual ~CommandPort() = default;

    // The window in front now, with its title.
    virtual RememberedWindow ForegroundWindow() = 0;
    virtual bool ChooserVisible() = 0;
    // The lines of the chooser's list: none means nothing to paste.
    virtual int ItemCount() = 0;
    // Brings the program forward and says that the store is empty.
    virtual void ShowStoreEmpty() = 0;
    // Brings the program's last active pop-up forward.
    virtual void BringProgramForward() = 0;
    // Shows the chooser modally; the file name of the item chosen with OK, or nothing.
    virtual std::optional<std::string> ChooseItem() = 0;
    // Puts the chooser's text preview (rich text and plain text), or its picture, on the clipboard.
    virtual void PutTextPreviewOnClipboard() = 0;
    virtual void PutPicturePreviewOnClipboard() = 0;
    // Files the clipboard's content as a new item.
    virtual void CaptureClipboard() = 0;

    // The user's keys and a millisecond clock, for the timing of the keys sent.
    virtual const KeyboardState& Keyboard() = 0;
    virtual std::uint32_t Now() = 0;
    // Starts or stops the ticks (OnTick) that watch the keyboard while keys wait.
    virtual void WatchKeyboard(bool on) = 0;
    // Plays the keys into their target window.
    virtual void PlayKeys(const KeysToSend& keys) = 0;
};

class HotKeyCommands {
public:
    // The ids the hot keys are registered with, and the keys the user presses for them.
    static constexpr int kPasteHotKey = 100;
    static constexpr int kCopyHotKey = 101;
    static constexpr HotKeyChord kPasteChord{17, 32};  // Ctrl+Space
    static constexpr HotKeyChord kCopyChord{17, 81};   // Ctrl+Q

    explicit HotKeyCommands(CommandPort& port) : port_(port) {}

    // While true, clipboard changes file nothing: from start-up until every form exists, and while
    // the paste puts its item on the clipboard.
    bool CaptureSuppressed = true;
    // The next clipboard change is filed (set by the copy hot key).
    bool CapturePending = false;

    // A WM_HOTKEY with its id.
    void OnHotKey(int id);
    // The clipboard viewer saw the clipboard change.
    void OnClipboardChange();
    // A tick while keys wait for the user to let go of the hot key.
    void OnTick();

private:
    void Paste();
    void Copy();
    // Sends the keys whose time has come, and keeps the ticks running while any wait.
    void Poll();

    CommandPort& port_;
    HotKeyKeys keys_;
};

}  // namespace tessera
