#include "app/main_form_win32.h"

#include <array>
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
};

enum MenuId : int {
    kShowmainscreen2 = kShowOptionsCommand,
    kAnimatetray1 = kAnimateTrayCommand,
    kViderlePressepapiers1 = kClearStoreCommand,
    kClose2 = kQuitCommand,
};

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kViewerColour = 0xE6E6E6;
using win::ControlRow;
using win::FontWeight;

// The window's controls, in tab order. Texts are the French ones the program shows.
const std::array<ControlRow, 10> kControls{{
    // The clipboard viewer, a window of its own made by the form, comes first in tab order.
    {"ClipboardViewer1", nullptr, 0, 248, 24, 328, 289, 0, 0, 0, ""},
    {"WinStart", L"BUTTON", kWinStart, 8, 64, 225, 17, WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 0, 1,
     "Démarrer avec Windows"},
    {"Button1", L"BUTTON", kButton1, 8, 288, 225, 25, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 2,
     "Vider le Presse-papiers de Tessera..."},
    {"SpeedButton3", L"BUTTON", kSpeedButton3, 424, 328, 80, 23, WS_VISIBLE | BS_PUSHBUTTON | BS_FLAT, 0, 3,
     "A propos..."},
    {"SpeedButton1", L"BUTTON", kSpeedButton1, 508, 328, 80, 23, WS_VISIBLE | BS_PUSHBUTTON | BS_FLAT, 0, 4, "Cacher"},
    {"Label4", L"STATIC", kLabel4, 8, 8, 232, 16, WS_VISIBLE | SS_LEFT, 0, -1, "Raccourci pour \"Copier\" : Ctrl + Q",
     FontWeight::Bold, kRed},
    {"Label1", L"STATIC", kLabel1, 8, 32, 232, 16, WS_VISIBLE | SS_LEFT, 0, -1,
     "Raccourci pour \"Coller\" : Ctrl + Espace", FontWeight::Bold, kRed},
    {"Label2", L"STATIC", kLabel2, 248, 8, 328, 14, WS_VISIBLE | SS_LEFT, 0, -1,
     "Contenu du Presse-papiers de Windows"},
    {"Image2", L"STATIC", kImage2, 45, 120, 150, 128, WS_VISIBLE | SS_ICON | SS_CENTERIMAGE, 0, -1, ""},
    // The bottom strip that holds the two flat buttons, painted by the window itself: a sibling
    // control under the buttons would paint over them.
    {"Panel1", nullptr, 0, 0, 326, 592, 27, 0, 0, -1, ""},
}};

}  // namespace

TForm1::TForm1(ClipStore& store, RunRegistry& registry, ProgramPaths programPaths)
    : TranslatedForm({L"TForm1", kClientSize, kStyle, WS_EX_CONTROLPARENT, kControls, nullptr, L"MAINICON"},
                     MainFormTable(), kFontCharSet),
      paths(std::move(programPaths)),
      store_(store),
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

void TForm1::FormCreate() {
    SetAllLanguages(0);
    FirstShowPending = true;
    TrayIcon1->Tray().SetAnimated(true);
    TrayIcon1->Tray().SetHint(win::WideToAnsi(win::Application::Instance().Title()));
    ::SetWindowTextW(hwnd(), win::Application::Instance().Title().c_str());

    store_.MakeFolder();

    ProfileFile ini(paths.iniFileName);
    const SIZE outer = OuterSize();
    const Settings settings = LoadSettings(ini, CentredOrigin(::GetSystemMetrics(SM_CXSCREEN), outer.cx),
                                           CentredOrigin(::GetSystemMetrics(SM_CYSCREEN), outer.cy));
    try {
        SetWinStartChecked(settings.winStart);
    } catch (...) {
        // "Start with Windows" could not be written: say so, and start all the same.
        win::Application::Instance().ShowCurrentException();
    }
    SavedLeft = settings.left;
    SavedTop = settings.top;

    ::SetWindowPos(hwnd(), nullptr, kOffScreen, kOffScreen, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    try {
        win::EmptySystemClipboard(hwnd());
    } catch (const std::runtime_error&) {
        // Another program holds the clipboard: starting with its content left there is harmless.
    }

    RegisterHotKeyWithoutRepeat(hwnd(), HotKeyCommands::kPasteHotKey, MOD_CONTROL, VK_SPACE);
    RegisterHotKeyWithoutRepeat(hwnd(), HotKeyCommands::kCopyHotKey, MOD_CONTROL, 'Q');
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
    // Each file is saved even when the other one cannot be; the failures are reported together.
    std::string failures;
    try {
        ProfileFile ini(paths.iniFileName);
        tessera::SaveSettings(ini, Settings{WinStartChecked(), r.left, r.top});
    } catch (const std::runtime_error& e) {
        failures = e.what();
    }
    try {
        store_.Save();
    } catch (const std::runtime_error& e) {
        failures += (failures.empty() ? "" : "\n") + std::string(e.what());
    }
    if (!failures.empty()) throw std::runtime_error(failures);
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

void TForm1::Close2Click() {
    try {
        SaveSettings();
    } catch (...) {
        // A settings or index file that cannot be written is reported; quitting goes on.
        win::Application::Instance().ShowCurrentException();
    }
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

void TForm1::OnCommand(int id) {
    switch (id) {
    case kWinStart: WinStartClick(); break;
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

// Files that cannot be deleted (held open by another program, read-only) stay items and are
// named to the user in place of the message that the store is empty.
void TForm1::ViderlePressepapiers1Click() {
    if (!win::AskConfirmation(win::Utf8ToWide(MultiLang1->GetWord(MainWords::kConfirmClear)), win::DefaultAnswer::No))
        return;
    const std::vector<std::string> kept = store_.Clear();
    if (OnStoreCleared) OnStoreCleared();
    win::EmptySystemClipboard(hwnd());
    if (kept.empty()) {
        win::ShowInformation(win::Utf8ToWide(MultiLang1->GetWord(MainWords::kStoreCleared)));
        return;
    }
    std::wstring text = win::Utf8ToWide(MultiLang1->GetWord(MainWords::kNotDeleted));
    for (const std::string& path : kept) text += L"\n" + win::AnsiToWide(path);
    win::ShowErrorMessage(text);
}

void TForm1::WMHotKey(int id) {
    if (OnHotKey) OnHotKey(id);
}

LRESULT TForm1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED || HIWORD(wParam) == 0) OnCommand(LOWORD(wParam));
        return 0;
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
        }
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
