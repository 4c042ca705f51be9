#pragma once
// The copy and paste hot keys and the capture that follows a clipboard change, in their order:
// what is ignored, what is remembered, what goes on the clipboard and when the keys go; and the
// copies filed without a hot key once the clipboard is quiet.
#include <cstdint>
#include <optional>
#include <string>

#include "keys/hot_key.h"
#include "keys/hot_key_keys.h"
#include "keys/target_window.h"

namespace tessera {

// The item the user chose in the chooser.
struct ChosenItem {
    std::string fileName;
    bool plainText = false;  // Shift was held as it was chosen: paste a text without its formatting
};

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
    // Shows the chooser modally; the item chosen with OK, or nothing.
    virtual std::optional<ChosenItem> ChooseItem() = 0;
    // Puts the chooser's text preview on the clipboard: rich text and plain text, or plain text
    // only (the target then takes its own font); or the chooser's picture.
    virtual void PutTextPreviewOnClipboard(bool plainOnly) = 0;
    virtual void PutPicturePreviewOnClipboard() = 0;
    // Files the clipboard's content as a new item.
    virtual void CaptureClipboard() = 0;
    // Files the clipboard's content as a copy the user did not ask to keep (ClipStore::CaptureCopy):
    // the new item's file name, or nothing when nothing was filed. With `replacing`, that item
    // goes once the new one is filed.
    virtual std::optional<std::string> CaptureCopy(const std::optional<std::string>& replacing) = 0;
    // Whether the clipboard's content was put there by one of the program's own windows.
    virtual bool ClipboardIsOurs() = 0;
    // Calls OnQuietTick once, `ms` milliseconds from now, in place of any call still waiting (0: none).
    virtual void WakeAfter(std::uint32_t ms) = 0;

    // The user's keys and a millisecond clock, for the timing of the keys sent.
    virtual const KeyboardState& Keyboard() = 0;
    virtual std::uint32_t Now() = 0;
    // Starts or stops the ticks (OnTick) that watch the keyboard while keys wait.
    virtual void WatchKeyboard(bool on) = 0;
    // The top-level windows, where the keys' target is looked for.
    virtual WindowLookup& Windows() = 0;
    // Plays `keys` into `window` (0: whichever window has the focus), made the foreground window
    // first when `makeForeground`.
    virtual void PlayKeys(const std::string& keys, std::uintptr_t window, bool makeForeground) = 0;

    // Registers `keys` under `id` for the program; false when another program holds them.
    virtual bool RegisterHotKey(int id, const HotKey& keys) = 0;
    virtual void UnregisterHotKey(int id) = 0;
    // Tells the user that `keys` could not be had for the command `id`, and what to do.
    virtual void ReportTakenHotKey(int id, const HotKey& keys) = 0;
    // Tells the user that both commands were given `keys`, and that one of them keeps its own.
    virtual void ReportSameHotKeys(const HotKey& keys) = 0;
};

class HotKeyCommands {
public:
    // The ids the hot keys are registered with, and the keys the user presses for them.
    static constexpr int kPasteHotKey = 100;
    static constexpr int kCopyHotKey = 101;

    explicit HotKeyCommands(CommandPort& port) : port_(port) {}

    // While true, clipboard changes file nothing: from start-up until every form exists, and while
    // the paste puts its item on the clipboard.
    bool CaptureSuppressed = true;
    // The next clipboard change is filed (set by the copy hot key).
    bool CapturePending = false;
    // Every other change of the clipboard is filed too.
    bool KeepEveryCopy = false;
    // Changes closer together than this make one burst: a person's two copies come half a second
    // apart at the quickest, a program rewriting the clipboard in a loop or a selection that
    // copies itself as it grows much closer together. A burst is filed as its last content.
    static constexpr std::uint32_t kQuietMs = 300;

    // Puts `copy` and `paste` in force: a changed or inactive key is released and the new one
    // registered; a key another program holds is reported, and the other one works all the same.
    // One key for both is reported, and the paste keeps its default key (the copy its own when
    // that is the one given).
    void UseHotKeys(HotKey copy, HotKey paste);
    const HotKey& HotKeyOf(int id) const { return Slot(id).keys; }
    // Whether the command's key is registered.
    bool Active(int id) const { return Slot(id).active; }

    // A WM_HOTKEY with its id.
    void OnHotKey(int id);
    // The clipboard viewer saw the clipboard change.
    void OnClipboardChange();
    // A tick while keys wait for the user to let go of the hot key.
    void OnTick();
    // The wait that WakeAfter asked for is over.
    void OnQuietTick();

private:
    struct HotKeySlot {
        HotKey keys;
        bool active = false;
    };
    const HotKeySlot& Slot(int id) const { return id == kPasteHotKey ? paste_ : copy_; }
    void Release(int id, HotKeySlot& slot, const HotKey& keys);
    void Take(int id, HotKeySlot& slot, const HotKey& keys);
    void Paste();
    void Copy();
    // Sends the keys whose time has come, and keeps the ticks running while any wait.
    void Poll();
    void Play(const KeysToSend& keys);

    void StopWaitingForQuiet();
    bool CanFileCopy();

    CommandPort& port_;
    HotKeyKeys keys_;
    bool waitingForQuiet_ = false;
    bool burstGoesOn_ = false;                // a change came after the one that started the wait
    std::optional<std::string> burstFirst_;  // the item its first change was filed as
    std::uint32_t lastChange_ = 0;           // when the clipboard last changed, on the port's clock
    HotKeySlot copy_{kDefaultCopyHotKey};
    HotKeySlot paste_{kDefaultPasteHotKey};
};

}  // namespace tessera
