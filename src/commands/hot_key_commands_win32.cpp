#include "commands/hot_key_commands_win32.h"

#include <optional>
#include <stdexcept>
#include <vector>

#include "keys/hot_key_keys_win32.h"
#include "lang/word_ids.h"
#include "store/clip_formats_win32.h"
#include "store/clip_writers_win32.h"
#include "win/clipboard.h"
#include "win/message_boxes.h"
#include "win/rich_edit.h"
#include "win/text.h"

namespace tessera {

// A window that hangs would hang the program with it: the title is asked with a time limit.
RememberedWindow RememberForegroundWindow() {
    constexpr int kBufferSize = 4096;
    HWND foreground = ::GetForegroundWindow();
    if (!foreground) return {};
    std::vector<char> buffer(kBufferSize, '\0');
    DWORD_PTR copied = 0;
    if (!::SendMessageTimeoutA(foreground, WM_GETTEXT, kBufferSize - 1, reinterpret_cast<LPARAM>(buffer.data()),
                               SMTO_ABORTIFHUNG | SMTO_BLOCK, 1000, &copied))
        buffer[0] = '\0';
    buffer.back() = '\0';
    return {reinterpret_cast<std::uintptr_t>(foreground), std::string(buffer.data())};
}

void BringProgramForward(HWND appWindow) {
    HWND popup = ::GetLastActivePopup(appWindow);
    if (popup && popup != appWindow && ::IsWindowVisible(popup) && ::IsWindowEnabled(popup))
        ::SetForegroundWindow(popup);
}

// The two formats the control's own copy gives, put directly: that copy hands the clipboard a
// data object of the control's, which for a text of megabytes took minutes to build and to give
// up at the end of the program, with a gigabyte held meanwhile. Programs that read rich text get
// the control's RTF; the others its plain text (the system makes the 8-bit forms from it).
void PutRichTextOnClipboard(HWND owner, HWND richEdit, bool plainOnly) {
    const std::optional<std::string> rtf = plainOnly ? std::nullopt : win::StreamOutRtf(richEdit);
    const std::wstring text = win::PlainText(richEdit);
    const win::ClipboardScope open(owner);
    ::EmptyClipboard();
    if (rtf) win::GiveToClipboard(win::RichTextClipboardFormat(), win::GlobalCopy(rtf->c_str(), rtf->size() + 1));
    win::GiveToClipboard(CF_UNICODETEXT, win::GlobalCopy(text.c_str(), (text.size() + 1) * sizeof(wchar_t)));
}

// The clipboard owns what it is given, so it gets copies: the preview keeps its own picture.
void PutPictureOnClipboard(HWND owner, const win::Picture& picture) {
    const win::ClipboardScope open(owner);
    ::EmptyClipboard();
    if (picture.bitmap) {
        if (HANDLE copy = ::CopyImage(picture.bitmap.get(), IMAGE_BITMAP, 0, 0, 0)) {
            if (!::SetClipboardData(CF_BITMAP, copy)) ::DeleteObject(copy);
        }
        if (picture.palette) {
            PALETTEENTRY entries[256];
            const UINT count = ::GetPaletteEntries(picture.palette.get(), 0, 256, entries);
            std::vector<BYTE> storage(sizeof(LOGPALETTE) + count * sizeof(PALETTEENTRY));
            auto* logical = reinterpret_cast<LOGPALETTE*>(storage.data());
            logical->palVersion = 0x300;
            logical->palNumEntries = static_cast<WORD>(count);
            for (UINT i = 0; i < count; ++i) logical->palPalEntry[i] = entries[i];
            if (HPALETTE copy = count ? ::CreatePalette(logical) : nullptr) {
                if (!::SetClipboardData(CF_PALETTE, copy)) ::DeleteObject(copy);
            }
        }
    } else if (picture.metafile) {
        if (HENHMETAFILE copy = ::CopyEnhMetaFileW(picture.metafile.get(), nullptr)) {
            if (!::SetClipboardData(CF_ENHMETAFILE, copy)) ::DeleteEnhMetaFile(copy);
        }
    }
}

// Often enough that the keys follow the user's release without a felt delay; the ticks run only
// while keys wait.
constexpr UINT kKeyboardTickMs = 20;

HotKeyCommandsWin32::HotKeyCommandsWin32(HWND mainWindow, TChoix& chooser, ClipStore& store, WordLookup mainWords)
    : mainWindow_(mainWindow),
      chooser_(chooser),
      store_(store),
      mainWords_(std::move(mainWords)),
      ticks_([this] { commands_.OnTick(); }),
      quiet_([this] {
          quiet_.Stop();
          commands_.OnQuietTick();
      }),
      commands_(*this) {}

RememberedWindow HotKeyCommandsWin32::ForegroundWindow() { return RememberForegroundWindow(); }

bool HotKeyCommandsWin32::ChooserVisible() { return chooser_.Visible(); }

// The index's rows, which the chooser's list shows line for line from its first showing on.
int HotKeyCommandsWin32::ItemCount() { return store_.ItemCount(); }

void HotKeyCommandsWin32::ShowStoreEmpty() {
    tessera::BringProgramForward(mainWindow_);
    win::ShowInformation(win::Utf8ToWide(mainWords_(MainWords::kStoreEmpty)));
}

void HotKeyCommandsWin32::BringProgramForward() { tessera::BringProgramForward(mainWindow_); }

std::optional<ChosenItem> HotKeyCommandsWin32::ChooseItem() {
    if (chooser_.ShowModal() != ChooserResult::Ok) return std::nullopt;
    // The line chosen may be any of a filtered list: the item is the one it shows.
    const int row = chooser_.SelectedRow();
    if (row < 0) return std::nullopt;
    return ChosenItem{store_.FileName(row), chooser_.ChosenWithShift()};
}

void HotKeyCommandsWin32::PutTextPreviewOnClipboard(bool plainOnly) {
    PutRichTextOnClipboard(mainWindow_, chooser_.RichEdit1(), plainOnly);
}

void HotKeyCommandsWin32::PutPicturePreviewOnClipboard() {
    PutPictureOnClipboard(mainWindow_, chooser_.Image1Picture());
}

// The text prefix is looked up at each capture: the language decides it, and the words of a file
// or folder that cannot be made.
bool HotKeyCommandsWin32::File(const std::function<std::optional<std::string>()>& capture) {
    std::optional<std::string> added;
    try {
        added = capture();
    } catch (const CannotCreateError& e) {
        const bool file = e.kind() == CannotCreateError::Kind::File;
        throw std::runtime_error(mainWords_(file ? MainWords::kCannotCreateFile : MainWords::kCannotCreateFolder) +
                                 e.path());
    }
    if (added) chooser_.AddAndSelect(*added);
    return added.has_value();
}

void HotKeyCommandsWin32::CaptureClipboard() {
    Win32ClipboardFormats formats;
    Win32ClipWriter writer(mainWindow_);
    File([&] { return store_.Capture(formats, writer, mainWords_(MainWords::kTextPrefix)); });
}

std::optional<std::string> HotKeyCommandsWin32::CaptureCopy(const std::optional<std::string>& replacing) {
    Win32ClipboardFormats formats;
    Win32ClipboardMarks marks(mainWindow_);
    Win32ClipWriter writer(mainWindow_);
    if (!File([&] { return store_.CaptureCopy(formats, marks, writer, mainWords_(MainWords::kTextPrefix)); }))
        return std::nullopt;
    const std::string filed = store_.FileName(store_.ItemCount() - 1);
    if (replacing) store_.RemoveItemNamed(*replacing);
    return filed;
}

// The owner is the window that last emptied the clipboard: the main window for a paste, the
// chooser's preview for a copy made in it.
bool HotKeyCommandsWin32::ClipboardIsOurs() {
    DWORD process = 0;
    const HWND owner = ::GetClipboardOwner();
    return owner && ::GetWindowThreadProcessId(owner, &process) && process == ::GetCurrentProcessId();
}

void HotKeyCommandsWin32::WakeAfter(std::uint32_t ms) {
    quiet_.Stop();
    if (ms > 0) quiet_.Start(ms);
}

std::uint32_t HotKeyCommandsWin32::Now() { return ::GetTickCount(); }

void HotKeyCommandsWin32::WatchKeyboard(bool on) {
    if (on)
        ticks_.Start(kKeyboardTickMs);
    else
        ticks_.Stop();
}

void HotKeyCommandsWin32::PlayKeys(const std::string& keys, std::uintptr_t window, bool makeForeground) {
    SendKeysToTarget(reinterpret_cast<HWND>(window), keys, makeForeground);
}

bool HotKeyCommandsWin32::RegisterHotKey(int id, const HotKey& keys) {
    return RegisterHotKeyWithoutRepeat(mainWindow_, id, keys.modifiers, keys.virtualKey);
}

void HotKeyCommandsWin32::UnregisterHotKey(int id) { ::UnregisterHotKey(mainWindow_, id); }

// "%s" in the message names the shortcut as the options window does.
std::string HotKeyCommandsWin32::TextNaming(std::string_view word, const HotKey& keys) {
    const std::string name = HotKeyDisplayText(keys, KeyLayoutWin32(), Language ? Language() : 0);
    std::string text = mainWords_(word);
    if (const std::size_t at = text.find("%s"); at != std::string::npos) text.replace(at, 2, name);
    return text;
}

void HotKeyCommandsWin32::ReportTakenHotKey(int, const HotKey& keys) {
    if (TellUser) TellUser(win::Utf8ToWide(TextNaming(MainWords::kHotKeyTaken, keys)));
}

void HotKeyCommandsWin32::ReportSameHotKeys(const HotKey& keys) {
    if (TellUser) TellUser(win::Utf8ToWide(TextNaming(MainWords::kSameHotKeys, keys)));
}

}  // namespace tessera
