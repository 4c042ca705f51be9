#include "commands/hot_key_commands.h"

#include "commands/chooser_rules.h"
#include "keys/key_string.h"

namespace tessera {

// Changed keys are all given back before any is taken, so that two keys trading places (or one
// taking the other's old key) both register. A key in force that did not change keeps its
// registration: releasing it would let another program take it meanwhile. One key cannot serve
// both: the chooser is what the user cannot do without, so the paste gets its default key back.
void HotKeyCommands::UseHotKeys(HotKey copy, HotKey paste) {
    if (copy == paste) {
        port_.ReportSameHotKeys(copy);
        paste = kDefaultPasteHotKey;
        if (copy == paste) copy = kDefaultCopyHotKey;
    }
    Release(kCopyHotKey, copy_, copy);
    Release(kPasteHotKey, paste_, paste);
    Take(kCopyHotKey, copy_, copy);
    Take(kPasteHotKey, paste_, paste);
}

void HotKeyCommands::Release(int id, HotKeySlot& slot, const HotKey& keys) {
    if (!slot.active || slot.keys == keys) return;
    port_.UnregisterHotKey(id);
    slot.active = false;
}

void HotKeyCommands::Take(int id, HotKeySlot& slot, const HotKey& keys) {
    if (slot.active) return;
    slot.keys = keys;
    slot.active = port_.RegisterHotKey(id, keys);
    if (!slot.active) port_.ReportTakenHotKey(id, keys);
}

// Both hot keys are ignored while the chooser is open (the modal dialog's own loop still brings
// them), as are a held hot key's repeats and any hot key while keys still wait. Keys whose time
// has come go before a new hot key is weighed: the ticks may be late.
void HotKeyCommands::OnHotKey(int id) {
    if (port_.ChooserVisible()) return;
    if (id != kPasteHotKey && id != kCopyHotKey) return;
    Poll();
    if (!keys_.Accept(id, HotKeyOf(id))) return;
    Poll();
    if (id == kPasteHotKey)
        Paste();
    else
        Copy();
}

// The copy only makes the target copy: the capture follows when its copy changes the clipboard.
void HotKeyCommands::Copy() {
    CapturePending = true;
    keys_.Send({std::string(kCopyKeys), port_.ForegroundWindow(), false, false}, port_.Now());
    Poll();
}

// The chosen item goes onto the clipboard with captures suppressed, so that this write is not
// filed as a new item, even with a copy command still pending; then the target, made the
// foreground window again (the chooser had it), pastes it.
void HotKeyCommands::Paste() {
    if (port_.ItemCount() == 0) {
        port_.ShowStoreEmpty();
        return;
    }
    const RememberedWindow target = port_.ForegroundWindow();
    port_.BringProgramForward();
    const std::optional<ChosenItem> chosen = port_.ChooseItem();
    if (!chosen) return;
    CaptureSuppressed = true;
    try {
        if (IsTextItemFileName(chosen->fileName))
            port_.PutTextPreviewOnClipboard(chosen->plainText);
        else
            port_.PutPicturePreviewOnClipboard();
    } catch (...) {
        CaptureSuppressed = false;
        throw;
    }
    CaptureSuppressed = false;
    keys_.Send({std::string(kPasteKeys), target, true, true}, port_.Now());
    Poll();
}

// Cleared whatever the capture's outcome: after a failed capture the user's next, unrelated copy
// must not be filed. A change while captures are suppressed clears it and files nothing. The copy
// hot key's change, and the program's own, end a burst: what it waited for is filed by the hot
// key, or is no longer there.
// Any other change on a quiet clipboard is filed at once, so that the user finds it in the
// chooser at once; changes that follow it within kQuietMs make a burst, whose last content takes
// the first one's place once the clipboard is quiet again (counted on a clock that may wrap).
void HotKeyCommands::OnClipboardChange() {
    if (CapturePending || CaptureSuppressed) {
        StopWaitingForQuiet();
        const bool capture = CapturePending && !CaptureSuppressed;
        CapturePending = false;
        if (capture) port_.CaptureClipboard();
        return;
    }
    if (!KeepEveryCopy) return;
    lastChange_ = port_.Now();
    if (waitingForQuiet_) {
        burstGoesOn_ = true;
        return;
    }
    waitingForQuiet_ = true;
    burstFirst_.reset();
    burstGoesOn_ = !CanFileCopy();
    if (!burstGoesOn_) burstFirst_ = port_.CaptureCopy(std::nullopt);
    port_.WakeAfter(kQuietMs);
}

// A copy made while the chooser is open waits until it closes: the new item would take the
// selection from under the user's pointer. The program's own content (a paste, a copy in the
// chooser's preview) is never filed.
bool HotKeyCommands::CanFileCopy() {
    return KeepEveryCopy && !CaptureSuppressed && !port_.ChooserVisible() && !port_.ClipboardIsOurs();
}

void HotKeyCommands::OnQuietTick() {
    if (!waitingForQuiet_) return;
    const std::uint32_t quiet = port_.Now() - lastChange_;
    if (quiet < kQuietMs) return port_.WakeAfter(kQuietMs - quiet);
    if (port_.ChooserVisible()) return port_.WakeAfter(kQuietMs);
    waitingForQuiet_ = false;
    if (burstGoesOn_ && CanFileCopy()) port_.CaptureCopy(burstFirst_);
}

void HotKeyCommands::StopWaitingForQuiet() {
    if (!waitingForQuiet_) return;
    waitingForQuiet_ = false;
    port_.WakeAfter(0);
}

void HotKeyCommands::OnTick() { Poll(); }

void HotKeyCommands::Poll() {
    if (const std::optional<KeysToSend> due = keys_.Poll(port_.Keyboard(), port_.Now())) Play(*due);
    port_.WatchKeyboard(keys_.Watching());
}

// The paste goes only to the window the user was typing in (or, once it is gone, one of its
// title): keys sent to whatever came to the front would paste where nobody asked; the item
// stays on the clipboard for the user's own Ctrl+V. The copy goes to the focus all the same.
void HotKeyCommands::Play(const KeysToSend& keys) {
    const std::uintptr_t window = ChooseTargetWindow(keys.target, port_.Windows());
    if (window == 0 && keys.onlyToTarget) return;
    port_.PlayKeys(keys.keys, window, keys.makeForeground);
}

}  // namespace tessera
