#include "app/main_form_win32.h"

#include <commctrl.h>

#include <array>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "app/profile_file_win32.h"
#include "app/settings.h"
#include "app/start_with_windows.h"
#include "app/window_ids.h"
#include "commands/hot_key_commands.h"
#include "keys/hot_key_keys_win32.h"
#include "keys/key_layout_win32.h"
#include "lang/language_tables.h"
#include "lang/word_ids.h"
#include "win/application.h"
#include "win/clipboard.h"
#include "win/dpi.h"
#include "win/message_boxes.h"
#include "win/text.h"

namespace tessera {
namespace {

constexpr SIZE kClientSize{592, 353};
// Single border, caption without buttons or system menu.
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN;
constexpr UINT_PTR kTimer1 = 1;
constexpr UINT kTimer1Interval = 100;
constexpr int kOffScreen = -5000;
// Posted when a write of the index file failed in the background.
constexpr UINT kStoreWriteFailedMessage = WM_APP + 1;
// The font of the window as designed: MS Sans Serif, ANSI character set.
constexpr int kFontCharSet = 0;

enum ControlId : int {
    kWinStart = 1001,
    kButton1,
    kSpeedButton1,
    kSpeedButton3 = kAboutCommand,
    kLabel1,
    kLabel2,
    kLabel4,
    kImage2,
    kCopyKey = 1101,
    kPasteKey,
    kLanguage,
    kCopyKeyLabel,
    kPasteKeyLabel,
    kLanguageLabel,
    kKeepEveryCopy,
};

enum MenuId : int {
    kShowmainscreen2 = kShowOptionsCommand,
    kAnimatetray1 = kAnimateTrayCommand,
    kViderlePressepapiers1 = kClearStoreCommand,
    kClose2 = kQuitCommand,
    kGarderchaquecopie1 = kKeepEveryCopyCommand,
};

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kViewerColour = 0xE6E6E6;
using win::ControlRow;
using win::FontWeight;

// The window's controls, in tab order. Texts are the French ones the program shows. Below the
// check box, the user's choices: the two hot keys, the language and whether every copy is kept.
// The shortcut labels have room for a second line: the keys the user picks may not fit on one.
const std::array<ControlRow, 17> kControls{{
    // The clipboard viewer, a window of its own made by the form, comes first in tab order.
    {"ClipboardViewer1", nullptr, 0, 248, 24, 328, 289, 0, 0, 0, ""},
    {"WinStart", L"BUTTON", kWinStart, 8, 64, 225, 17, WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 0, 1,
     "Démarrer avec Windows"},
    {"CopyKeyLabel", L"STATIC", kCopyKeyLabel, 8, 96, 62, 13, WS_VISIBLE | SS_LEFT, 0, -1, "Copier :"},
    {"CopyKey", HOTKEY_CLASSW, kCopyKey, 72, 92, 161, 21, WS_VISIBLE | WS_TABSTOP, WS_EX_CLIENTEDGE, 2, ""},
    {"PasteKeyLabel", L"STATIC", kPasteKeyLabel, 8, 124, 62, 13, WS_VISIBLE | SS_LEFT, 0, -1, "Coller :"},
    {"PasteKey", HOTKEY_CLASSW, kPasteKey, 72, 120, 161, 21, WS_VISIBLE | WS_TABSTOP, WS_EX_CLIENTEDGE, 3, ""},
    {"LanguageLabel", L"STATIC", kLanguageLabel, 8, 156, 62, 13, WS_VISIBLE | SS_LEFT, 0, -1, "Langue :"},
    {"Language", L"COMBOBOX", kLanguage, 72, 152, 161, 80, WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0,
     4, ""},
    {"KeepEveryCopy", L"BUTTON", kKeepEveryCopy, 8, 184, 225, 17, WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 0, 5,
     "Garder chaque copie"},
    {"Button1", L"BUTTON", kButton1, 8, 288, 225, 25, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 6,
     "Vider le Presse-papiers de Tessera..."},
    {"SpeedButton3", L"BUTTON", kSpeedButton3, 424, 328, 80, 23, WS_VISIBLE | BS_PUSHBUTTON | BS_FLAT, 0, 7,
     "A propos..."},
    {"SpeedButton1", L"BUTTON", kSpeedButton1, 508, 328, 80, 23, WS_VISIBLE | BS_PUSHBUTTON | BS_FLAT, 0, 8, "Cacher"},
    {"Label4", L"STATIC", kLabel4, 8, 6, 232, 26, WS_VISIBLE | SS_LEFT, 0, -1, "Raccourci pour \"Copier\" : Ctrl + Q",
     FontWeight::Bold, kRed},
    {"Label1", L"STATIC", kLabel1, 8, 32, 232, 26, WS_VISIBLE | SS_LEFT, 0, -1,
     "Raccourci pour \"Coller\" : Ctrl + Espace", FontWeight::Bold, kRed},
    {"Label2", L"STATIC", kLabel2, 248, 8, 328, 14, WS_VISIBLE | SS_LEFT, 0, -1,
     "Contenu du Presse-papiers de Windows"},
    {"Image2", L"STATIC", kImage2, 45, 208, 150, 72, WS_VISIBLE | SS_ICON | SS_CENTERIMAGE, 0, -1, ""},
    // The bottom strip that holds the two flat buttons, painted by the window itself: a sibling
    // control under the buttons would paint over them.
    {"Panel1", nullptr, 0, 0, 326, 592, 27, 0, 0, -1, ""},
}};

// The message boxes' captions and buttons in each language.
win::BoxTexts BoxTextsIn(Language language) {
    if (language == Language::French) return {};
    return {L"Information", L"Confirmation", L"Error", L"&Yes", L"&No", L"OK", L"Cancel"};
}

// The hot-key fields' value: the key in the low byte, HOTKEYF_* in the high one. Insert, Home,
// End and the page keys are the extended ones, else the field names the keypad's keys.
WORD FieldValueOf(const HotKey& keys) {
    const bool extended = (keys.virtualKey >= VK_PRIOR && keys.virtualKey <= VK_DOWN) || keys.virtualKey == VK_INSERT ||
                          keys.virtualKey == VK_DELETE;
    const UINT flags = ((keys.modifiers & hot_key_mod::kShift) ? HOTKEYF_SHIFT : 0) |
                       ((keys.modifiers & hot_key_mod::kCtrl) ? HOTKEYF_CONTROL : 0) |
                       ((keys.modifiers & hot_key_mod::kAlt) ? HOTKEYF_ALT : 0) | (extended ? HOTKEYF_EXT : 0);
    return MAKEWORD(keys.virtualKey, flags);
}

// Nothing for a field without a key yet, or without Ctrl or Alt (the field's rules add them, but
// a key alone would take ordinary typing from every program).
std::optional<HotKey> HotKeyOfFieldValue(WORD value) {
    const BYTE key = LOBYTE(value), flags = HIBYTE(value);
    if (key == 0 || !(flags & (HOTKEYF_CONTROL | HOTKEYF_ALT))) return std::nullopt;
    return HotKey{((flags & HOTKEYF_SHIFT) ? hot_key_mod::kShift : 0u) |
                      ((flags & HOTKEYF_CONTROL) ? hot_key_mod::kCtrl : 0u) |
                      ((flags & HOTKEYF_ALT) ? hot_key_mod::kAlt : 0u),
                  key};
}

// The shortcut labels' texts end with the keys (" : Ctrl + Q"): the keys in force take their
// place.
std::string ShortcutCaption(const std::string& caption, const std::string& keys) {
    const std::size_t colon = caption.rfind(" : ");
    return colon == std::string::npos ? caption + " : " + keys : caption.substr(0, colon + 3) + keys;
}

}  // namespace

TForm1::TForm1(RunRegistry& registry, ProgramPaths programPaths)
    : TranslatedForm({L"TForm1", kClientSize, kStyle, WS_EX_CONTROLPARENT, kControls, nullptr, L"MAINICON"},
                     MainFormTable(), kFontCharSet),
      paths(std::move(programPaths)),
      registry_(registry) {
    ClipboardViewer1 = std::make_unique<TClipboardViewer>(hwnd(), Bounds("ClipboardViewer1"));
    Attach("ClipboardViewer1", ClipboardViewer1->hwnd());
    ClipboardViewer1->SetColor(kViewerColour);
    ClipboardViewer1->OnChange = [this] { ClipboardViewer1Change(); };
    ShowImage2();
    BuildTrayMenu();
    CreateTrayIcon();
    // The window's texts, its tray menu's included, come from its translation table, in the
    // language every switcher takes.
    const NamedMenuItem items[] = {{"Showmainscreen2", trayMenu_->menu(), kShowmainscreen2},
                                   {"Garderchaquecopie1", trayMenu_->menu(), kGarderchaquecopie1},
                                   {"ViderlePressepapiers1", trayMenu_->menu(), kViderlePressepapiers1},
                                   {"Close2", trayMenu_->menu(), kClose2}};
    LoadTexts(items);
    FormCreate();
}

TForm1::~TForm1() {
    if (hwnd() && !destroyed_) FormDestroy();
    // The icon leaves the notification area before the menu it shows goes.
    TrayIcon1.reset();
}

// The program's icon, at the size of a large icon at the window's DPI.
void TForm1::ShowImage2() {
    win::unique_hicon icon = win::LoadIconForDpi(L"MAINICON", SM_CXICON, Dpi());
    ::SendMessageW(Control("Image2"), STM_SETICON, reinterpret_cast<WPARAM>(icon.get()), 0);
    image2Icon_ = std::move(icon);
}

void TForm1::DpiChanged() { ShowImage2(); }

void TForm1::BuildTrayMenu() {
    trayMenu_ = std::make_unique<TrayMenuWin32>(hwnd());
    trayMenu_->OnPopup = [this] { TrayMenu1Popup(); };
    HMENU m = trayMenu_->menu();
    ::AppendMenuW(m, MF_STRING, kShowmainscreen2, L"&Options...");
    // "Animate tray" is an item of the menu that is never shown: its check mark follows the
    // tray icon's animation switch.
    trayMenu_->AddHiddenItem(kAnimatetray1, true);
    ::AppendMenuW(m, MF_STRING, kGarderchaquecopie1, L"&Garder chaque copie");
    ::AppendMenuW(m, MF_STRING, kViderlePressepapiers1, L"&Vider le Presse-papiers...");
    ::AppendMenuW(m, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(m, MF_STRING, kClose2, L"&Quitter");
}

// The tray icon as the window's stored data sets it up: the still icon, the three frames of the
// animation at 500 ms, the menu and the double click.
void TForm1::CreateTrayIcon() {
    TrayIcon1 = std::make_unique<TrayIconWin32>();
    TTrayIcon& tray = TrayIcon1->Tray();
    tray.SetHint("Tessera");
    SetIconsFromResources(tray, ::GetModuleHandleW(nullptr), L"MAINICON", {L"FRAME0", L"FRAME1", L"FRAME2"});
    tray.SetInterval(500);
    tray.SetAnimated(true);
    tray.SetPopupMenu(trayMenu_.get());
    trayMenu_->OnRemoved = [this](const TrayMenu& menu) {
        if (TrayIcon1) TrayIcon1->Tray().MenuRemoved(&menu);
    };
    tray.OnDblClick = [this](TTrayIcon&) { Showmainscreen2Click(); };
    tray.Loaded();
}

// The language comes first, as it did when it was always French: every text shown from here on
// is in it. The hot keys are put in force by the commands, which start-up hands them.
void TForm1::FormCreate() {
    ProfileFile ini(paths.iniFileName);
    const SIZE outer = OuterSize();
    settings_ = LoadSettings(ini, CentredOrigin(::GetSystemMetrics(SM_CXSCREEN), outer.cx),
                             CentredOrigin(::GetSystemMetrics(SM_CYSCREEN), outer.cy), KeyLayoutWin32());
    PrepareChoices();
    UseLanguage(settings_.language);
    FirstShowPending = true;
    TrayIcon1->Tray().SetAnimated(true);
    ::SetWindowTextW(hwnd(), win::Application::Instance().Title().c_str());

    try {
        SetWinStartChecked(settings_.winStart);
    } catch (...) {
        // "Start with Windows" could not be written: say so, and start all the same.
        win::Application::Instance().ShowCurrentException();
    }
    SavedLeft = settings_.left;
    SavedTop = settings_.top;

    ::SetWindowPos(hwnd(), nullptr, kOffScreen, kOffScreen, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    try {
        win::EmptySystemClipboard(hwnd());
    } catch (const std::runtime_error&) {
        // Another program holds the clipboard: starting with its content left there is harmless.
    }
}

// The hot-key fields take any key with Ctrl or Alt: a key alone, or with Shift alone, would take
// ordinary typing away from every program, and the control makes it Ctrl+Alt+key.
void TForm1::PrepareChoices() {
    for (const char* field : {"CopyKey", "PasteKey"})
        ::SendMessageW(Control(field), HKM_SETRULES, HKCOMB_NONE | HKCOMB_S,
                       MAKELPARAM(HOTKEYF_CONTROL | HOTKEYF_ALT, 0));
    HWND languages = Control("Language");
    ::SendMessageW(languages, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Français"));
    ::SendMessageW(languages, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"English"));
}

// Every form follows at once (through the language switchers), and so do the message boxes and
// the tray icon's tip.
void TForm1::UseLanguage(Language language) {
    settings_.language = language;
    SetAllLanguages(static_cast<std::uint8_t>(language));
    win::SetBoxTexts(BoxTextsIn(language));
    ::SendMessageW(Control("Language"), CB_SETCURSEL, static_cast<WPARAM>(language), 0);
    ShowHotKeys(settings_.copyHotKey, copyActive_, settings_.pasteHotKey, pasteActive_);
    ShowKeepEveryCopy();
}

// The check box and the tray menu's item both turn the option over, and both show it; so does the
// tray icon's tip, which is all the user sees of it while the window is hidden. Saved at once, as
// the other choices are.
void TForm1::SetKeepEveryCopy(bool on) {
    settings_.keepEveryCopy = on;
    ShowKeepEveryCopy();
    if (OnKeepEveryCopyChanged) OnKeepEveryCopyChanged(on);
    SaveSettings();
}

void TForm1::ShowKeepEveryCopy() {
    const bool on = settings_.keepEveryCopy;
    ::SendMessageW(Control("KeepEveryCopy"), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
    trayMenu_->SetChecked(kGarderchaquecopie1, on);
    std::wstring tip = win::Application::Instance().Title();
    if (on) tip += win::Utf8ToWide(MultiLang1->GetWord(MainWords::kKeepsEveryCopy));
    TrayIcon1->Tray().SetHint(win::WideToAnsi(tip));
}

void TForm1::ShowHotKeys(const HotKey& copy, bool copyActive, const HotKey& paste, bool pasteActive) {
    settings_.copyHotKey = copy;
    settings_.pasteHotKey = paste;
    copyActive_ = copyActive;
    pasteActive_ = pasteActive;
    const KeyLayoutWin32 layout;
    const int language = static_cast<int>(settings_.language);
    const std::string inactive = MultiLang1->GetWord(MainWords::kInactive);
    auto show = [&](const char* label, const char* field, const HotKey& keys, bool active) {
        const std::string text = ShortcutCaption(MultiLang1->GetWord(label), HotKeyDisplayText(keys, layout, language));
        ::SetWindowTextW(Control(label), win::Utf8ToWide(active ? text : text + inactive).c_str());
        showingHotKeys_ = true;
        ::SendMessageW(Control(field), HKM_SETHOTKEY, FieldValueOf(keys), 0);
        showingHotKeys_ = false;
    };
    show("Label4", "CopyKey", copy, copyActive);
    show("Label1", "PasteKey", paste, pasteActive);
}

// A field whose key is not complete yet (a modifier alone) changes nothing. Only the field the
// user changed is read: the other key stays as it is in force, Win and all, which its field
// cannot show. A choice is saved at once, as the language's is: a crash would not undo it.
void TForm1::HotKeyFieldChanged(int id) {
    if (showingHotKeys_ || !OnHotKeysChosen) return;
    const auto value = static_cast<WORD>(::SendMessageW(::GetDlgItem(hwnd(), id), HKM_GETHOTKEY, 0, 0));
    const std::optional<HotKey> chosen = HotKeyOfFieldValue(value);
    if (!chosen) return;
    OnHotKeysChosen(id == kCopyKey ? *chosen : settings_.copyHotKey, id == kPasteKey ? *chosen : settings_.pasteHotKey);
    SaveSettings();
}

// A balloon from the tray icon, which does not stop the user; a box where balloons are missing.
void TForm1::TellUser(const std::wstring& text) {
    if (!TrayIcon1->ShowBalloon(win::Application::Instance().Title(), text)) win::ShowInformation(text);
}

void TForm1::ReportUnreadableSettings() {
    if (settings_.unreadable.empty()) return;
    std::string text = MultiLang1->GetWord(MainWords::kBadSettings);
    for (const std::string& value : settings_.unreadable) text += "\n" + value;
    TellUser(win::Utf8ToWide(text));
}

void TForm1::FormShow() {
    if (FirstShowPending) {
        ::SetTimer(hwnd(), kTimer1, kTimer1Interval, nullptr);
        FirstShowPending = false;
    }
}

void TForm1::Timer1Timer() {
    ::ShowWindow(hwnd(), SW_HIDE);
    ::KillTimer(hwnd(), kTimer1);
    ::SetWindowPos(hwnd(), nullptr, SavedLeft, SavedTop, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm1::FormDestroy() {
    destroyed_ = true;
    ::UnregisterHotKey(hwnd(), HotKeyCommands::kPasteHotKey);
    ::UnregisterHotKey(hwnd(), HotKeyCommands::kCopyHotKey);
}

void TForm1::SaveSettings() {
    RECT r{};
    ::GetWindowRect(hwnd(), &r);
    ProfileFile ini(paths.iniFileName);
    Settings saved = settings_;
    saved.winStart = WinStartChecked();
    saved.left = r.left;
    saved.top = r.top;
    tessera::SaveSettings(ini, saved, KeyLayoutWin32());
}

void TForm1::Showmainscreen2Click() {
    ::ShowWindow(hwnd(), SW_SHOW);
    ::SetForegroundWindow(hwnd());
}

void TForm1::SpeedButton1Click() {
    ::ShowWindow(hwnd(), SW_HIDE);
    SaveSettings();
}

void TForm1::SpeedButton3Click() {
    if (OnAbout) OnAbout();
}

// A settings file that cannot be written is reported, and so is a store that cannot be saved;
// quitting goes on.
void TForm1::Close2Click() {
    try {
        SaveSettings();
    } catch (...) {
        win::Application::Instance().ShowCurrentException();
    }
    if (OnQuitting) OnQuitting();
    ::DestroyWindow(hwnd());
}

void TForm1::Animatetray1Click() {
    TTrayIcon& tray = TrayIcon1->Tray();
    tray.SetAnimated(!tray.Animated());
}

void TForm1::TrayMenu1Popup() { trayMenu_->SetChecked(kAnimatetray1, TrayIcon1->Tray().Animated()); }

bool TForm1::Animatetray1Checked() const { return trayMenu_->Checked(kAnimatetray1); }

void TForm1::WinStartClick() {
    const std::string name = win::WideToAnsi(win::Application::Instance().Title());
    if (WinStartChecked())
        EnableStartWithWindows(registry_, name, win::ExecutablePath());
    else
        DisableStartWithWindows(registry_, name);
}

bool TForm1::WinStartChecked() const { return ::SendMessageW(Control("WinStart"), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void TForm1::SetWinStartChecked(bool checked) {
    if (checked == WinStartChecked()) return;
    ::SendMessageW(Control("WinStart"), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    // A change made by the program counts like one made by the user.
    WinStartClick();
}

void TForm1::OnCommand(int id, int code) {
    if (code == EN_CHANGE && (id == kCopyKey || id == kPasteKey)) return HotKeyFieldChanged(id);
    if (code == CBN_SELCHANGE && id == kLanguage) {
        const LRESULT chosen = ::SendMessageW(Control("Language"), CB_GETCURSEL, 0, 0);
        if (chosen != 0 && chosen != 1) return;
        UseLanguage(static_cast<Language>(chosen));
        SaveSettings();
        return;
    }
    if (code != BN_CLICKED && code != 0) return;
    switch (id) {
    case kWinStart: WinStartClick(); break;
    case kKeepEveryCopy:
        SetKeepEveryCopy(::SendMessageW(Control("KeepEveryCopy"), BM_GETCHECK, 0, 0) == BST_CHECKED);
        break;
    case kGarderchaquecopie1: SetKeepEveryCopy(!settings_.keepEveryCopy); break;
    case kButton1:
    case kViderlePressepapiers1: ViderlePressepapiers1Click(); break;
    case kSpeedButton1: SpeedButton1Click(); break;
    case kSpeedButton3: SpeedButton3Click(); break;
    case kShowmainscreen2: Showmainscreen2Click(); break;
    case kClose2: Close2Click(); break;
    case kAnimatetray1: Animatetray1Click(); break;
    default: break;
    }
}

void TForm1::ClipboardViewer1Change() {
    if (OnClipboardChange) OnClipboardChange();
}

void TForm1::ViderlePressepapiers1Click() {
    if (OnClearRequested) OnClearRequested();
}

void TForm1::PostStoreWriteFailed() const { ::PostMessageW(hwnd(), kStoreWriteFailedMessage, 0, 0); }

void TForm1::WMHotKey(int id) {
    if (OnHotKey) OnHotKey(id);
}

LRESULT TForm1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND: OnCommand(LOWORD(wParam), HIWORD(wParam)); return 0;
    case WM_SHOWWINDOW:
        if (wParam) FormShow();
        break;
    case WM_PAINT: {
        win::paint_scope paint(hwnd());
        RECT panel = Bounds("Panel1");
        ::DrawEdge(paint.dc(), &panel, BDR_SUNKENINNER, BF_RECT);
        return 0;
    }
    case WM_TIMER:
        if (wParam == kTimer1) Timer1Timer();
        return 0;
    case WM_HOTKEY: WMHotKey(static_cast<int>(wParam)); return 0;
    case WM_CLOSE:
        // No close box, but another program may ask the window to close: end as "&Quitter" does,
        // so that nothing captured since the last save is lost.
        Close2Click();
        return 0;
    case WM_QUERYENDSESSION: return TRUE;
    case WM_ENDSESSION:
        // Windows is ending the session and will end the program without "&Quitter": save now.
        if (wParam) {
            try {
                SaveSettings();
            } catch (...) {
                // Nobody is left to read a message box at this point.
            }
            if (OnSessionEnding) OnSessionEnding();
        }
        return 0;
    case kStoreWriteFailedMessage:
        if (OnStoreWriteFailed) OnStoreWriteFailed();
        return 0;
    case WM_DESTROY:
        FormDestroy();
        ::PostQuitMessage(0);
        return 0;
    default: break;
    }
    return TranslatedForm::HandleMessage(message, wParam, lParam);
}

}  // namespace tessera
