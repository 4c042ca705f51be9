#pragma once
// The hot-key commands on Windows: the port the commands' order drives (the chooser, the store,
// the clipboard, the keyboard), and the steps that talk to other programs and to the clipboard.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "commands/hot_key_commands.h"
#include "commands/paste_chooser_win32.h"
#include "keys/key_layout_win32.h"
#include "keys/key_sender_win32.h"
#include "keys/target_window.h"
#include "store/clip_store.h"
#include "win/picture.h"
#include "win/timer.h"

namespace tessera {

// The foreground window and its title, 4,095 characters at most; the title is empty when the
// window does not answer within a second, both are empty when there is no foreground window.
RememberedWindow RememberForegroundWindow();
// Brings the program's last active pop-up of `appWindow` forward, when there is one other than
// `appWindow` itself that is visible and enabled.
void BringProgramForward(HWND appWindow);
// Empties the clipboard and puts the whole content of a rich-edit control on it, as rich text
// and as plain text, or as plain text only. Throws when the clipboard cannot be opened.
void PutRichTextOnClipboard(HWND owner, HWND richEdit, bool plainOnly = false);
// Empties the clipboard and puts a copy of `picture` on it: a bitmap (with its palette when it
// has one) or an enhanced metafile. An empty picture leaves the clipboard empty.
void PutPictureOnClipboard(HWND owner, const win::Picture& picture);

// HotKeyCommands over the real program: the chooser `chooser`, the store `store`, the main
// window `mainWindow` (which owns the clipboard writes and whose last pop-up comes forward) and
// its free texts `mainWords`.
class HotKeyCommandsWin32 final : private CommandPort {
public:
    using WordLookup = std::function<std::string(std::string_view id)>;

    HotKeyCommandsWin32(HWND mainWindow, TChoix& chooser, ClipStore& store, WordLookup mainWords);

    // Tells the user that a hot key is taken (UTF-16 text); set by the owner, which knows how.
    std::function<void(const std::wstring& text)> TellUser;
    // The active language (0 French, 1 English), for the names of keys in messages.
    std::function<int()> Language;
    HotKeyCommandsWin32(const HotKeyCommandsWin32&) = delete;
    HotKeyCommandsWin32& operator=(const HotKeyCommandsWin32&) = delete;

    HotKeyCommands& Commands() noexcept { return commands_; }

private:
    RememberedWindow ForegroundWindow() override;
    bool ChooserVisible() override;
    int ItemCount() override;
    void ShowStoreEmpty() override;
    void BringProgramForward() override;
    std::optional<ChosenItem> ChooseItem() override;
    void PutTextPreviewOnClipboard(bool plainOnly) override;
    void PutPicturePreviewOnClipboard() override;
    void CaptureClipboard() override;
    std::optional<std::string> CaptureCopy(const std::optional<std::string>& replacing) override;
    bool ClipboardIsOurs() override;
    void WakeAfter(std::uint32_t ms) override;
    // Runs a capture of the store's, and lists the item it filed; a file or folder that cannot be
    // made is told in the user's language.
    bool File(const std::function<std::optional<std::string>()>& capture);
    const KeyboardState& Keyboard() override { return keyboard_; }
    std::uint32_t Now() override;
    void WatchKeyboard(bool on) override;
    WindowLookup& Windows() override { return windows_; }
    void PlayKeys(const std::string& keys, std::uintptr_t window, bool makeForeground) override;
    bool RegisterHotKey(int id, const HotKey& keys) override;
    void UnregisterHotKey(int id) override;
    void ReportTakenHotKey(int id, const HotKey& keys) override;
    void ReportSameHotKeys(const HotKey& keys) override;
    // The text of `word` with the name of `keys` in place of its "%s".
    std::string TextNaming(std::string_view word, const HotKey& keys);

    HWND mainWindow_;
    TChoix& chooser_;
    ClipStore& store_;
    WordLookup mainWords_;
    AsyncKeyboardState keyboard_;
    WindowLookupWin32 windows_;
    win::Timer ticks_;
    win::Timer quiet_;  // one call of OnQuietTick, stopped as it comes
    HotKeyCommands commands_;
};

}  // namespace tessera
