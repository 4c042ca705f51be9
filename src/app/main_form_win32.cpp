#include "app/main_form_win32.h"

#include <array>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/about_box_win32.h"
#include "app/forms_win32.h"
#include "app/profile_file_win32.h"
#include "app/settings.h"
#include "app/start_with_windows.h"
#include "commands/hot_key_commands_win32.h"
#include "commands/paste_chooser_win32.h"
#include "keys/hot_key_keys_win32.h"
#include "keys/key_string.h"
#include "lang/language_tables.h"
#include "store/capture.h"
#include "store/clear_store.h"
#include "store/clip_formats_win32.h"
#include "store/clip_writers_win32.h"
#include "store/index_file.h"
#include "store/store_folder.h"
#include "win/application.h"
#include "win/clipboard.h"
#include "win/message_boxes.h"
#include "win/system_libraries.h"
#include "win/text.h"

namespace tessera {
namespace {

constexpr int kClientWidth = 592;
constexpr int kClientHeight = 353;
// Single border, caption without buttons or system menu.
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN;
constexpr UINT_PTR kTimer1 = 1;
constexpr UINT kTimer1Interval = 100;
constexpr UINT_PTR kHotKeyKeysTimer = 2;
constexpr int kOffScreen = -5000;
// Panel1, the bottom strip that holds the two flat buttons, is painted by the window itself: a
// sibling control under the buttons would paint over them.
constexpr RECT kPanel1{0, kClientHeight - 27, kClientWidth, kClientHeight};

enum ControlId : int {
    kWinStart = 1001,
    kButton1,
    kSpeedButton1,
    kSpeedButton3,
    kLabel1,
    kLabel2,
    kLabel4,
    kImage2,
};

enum MenuId : int {
    kShowmainscreen2 = 2001,
    kAnimatetray1,
    kViderlePressepapiers1,
    kClose2,
};

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr RECT kClipboardViewer1{248, 24, 248 + 328, 24 + 289};
constexpr COLORREF kViewerColour = 0xE6E6E6;
using win::ControlRow;
using win::FontWeight;

// The window's controls, in tab order. Texts are the French ones the program shows.
const std::array<ControlRow, 8> kControls{{
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
}};

SIZE OuterSize() {
    RECT r{0, 0, kClientWidth, kClientHeight};
    ::AdjustWindowRectEx(&r, kStyle, FALSE, 0);
    return {r.right - r.left, r.bottom - r.top};
}

std::string ModuleFileName() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD n = ::GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

}  // namespace

TForm1::TForm1(FileSystem& fs, RunRegistry& registry) : fs_(fs), registry_(registry) {
    // Text captures go through a hidden rich-edit control, whose DLL comes from the system folder only.
    win::LoadSystemLibrary(L"riched20.dll");
    const SIZE outer = OuterSize();
    const std::wstring& title = win::Application::Instance().Title();
    HICON icon = ::LoadIconW(::GetModuleHandleW(nullptr), L"MAINICON");
    CreateWindowObject(L"TForm1", WS_EX_CONTROLPARENT, title.c_str(), kStyle, kOffScreen, kOffScreen, outer.cx,
                       outer.cy, nullptr, icon);
    // The viewer comes first in tab order, as it does in the layout.
    ClipboardViewer1 = std::make_unique<TClipboardViewer>(hwnd(), kClipboardViewer1);
    ClipboardViewer1->SetColor(kViewerColour);
    ClipboardViewer1->OnChange = [this] { ClipboardViewer1Change(); };
    controls_.Create(hwnd(), kControls);
    if (icon) ::SendMessageW(controls_["Image2"], STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    BuildTrayMenu();
    CreateTrayIcon();
    CreateLanguageSwitcher();
    FormCreate();
}

TForm1::~TForm1() {
    if (hwnd() && !destroyed_) FormDestroy();
    // The icon leaves the notification area before the menu it shows goes; the switcher goes
    // before the controls it reaches.
    TrayIcon1.reset();
    MultiLang1.reset();
}

void TForm1::BuildTrayMenu() {
    trayMenu_ = std::make_unique<TrayMenuWin32>(hwnd());
    trayMenu_->OnPopup = [this] { TrayMenu1Popup(); };
    HMENU m = trayMenu_->menu();
    ::AppendMenuW(m, MF_STRING, kShowmainscreen2, L"&Options...");
    // "Animate tray" is an item of the menu that is never shown: its check mark follows the
    // tray icon's animation switch.
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
    tray.OnDblClick = [this](TTrayIcon&) { Showmainscreen2Click(); };
    tray.Loaded();
}

// The window's texts come from its translation table, in the language every switcher takes.
void TForm1::CreateLanguageSwitcher() {
    const NamedMenuItem items[] = {{"Showmainscreen2", trayMenu_->menu(), kShowmainscreen2},
                                   {"ViderlePressepapiers1", trayMenu_->menu(), kViderlePressepapiers1},
                                   {"Close2", trayMenu_->menu(), kClose2}};
    languageView_ = std::make_unique<ControlSetComponents>(hwnd(), controls_, kControls, items, "MS Sans Serif", 0);
    MultiLang1 = std::make_unique<TMultiLang>(*languageView_, languageDialogs_);
    LoadStoredData(*MultiLang1, MainFormTable());
}

void TForm1::FormCreate() {
    SetAllLanguages(0);
    CaptureSuppressed = true;
    FirstShowPending = true;
    paths = ComputeProgramPaths(ModuleFileName());
    TrayIcon1->Tray().SetAnimated(true);
    TrayIcon1->Tray().SetHint(win::WideToAnsi(win::Application::Instance().Title()));
    ::SetWindowTextW(hwnd(), win::Application::Instance().Title().c_str());

    ForceDirectories(fs_, paths.storeDir);

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

    hotKeyKeys_ = std::make_unique<HotKeyKeysWin32>(hwnd(), kHotKeyKeysTimer);
    RegisterHotKeyWithoutRepeat(hwnd(), kPasteHotKey, MOD_CONTROL, VK_SPACE);
    RegisterHotKeyWithoutRepeat(hwnd(), kCopyHotKey, MOD_CONTROL, 'Q');
    CapturePending = false;
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
    ::UnregisterHotKey(hwnd(), kPasteHotKey);
    ::UnregisterHotKey(hwnd(), kCopyHotKey);
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
        if (Choix) SaveIndex(fs_, Choix->grid, paths.indexFileName);
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
    if (AboutBox) AboutBox->ShowModal();
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

void TForm1::TrayMenu1Popup() { animatetray1Checked_ = TrayIcon1->Tray().Animated(); }

void TForm1::WinStartClick() {
    const std::string name = win::WideToAnsi(win::Application::Instance().Title());
    if (WinStartChecked())
        EnableStartWithWindows(registry_, name, ModuleFileName());
    else
        DisableStartWithWindows(registry_, name);
}

bool TForm1::WinStartChecked() const { return ::SendMessageW(controls_["WinStart"], BM_GETCHECK, 0, 0) == BST_CHECKED; }

void TForm1::SetWinStartChecked(bool checked) {
    if (checked == WinStartChecked()) return;
    ::SendMessageW(controls_["WinStart"], BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
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
    if (!CapturePending) return;
    // Cleared whatever the capture's outcome: after a failed capture the user's next, unrelated
    // copy must not be filed.
    CapturePending = false;
    CaptureClipboard();
}

void TForm1::CaptureClipboard() {
    if (!Choix) return;
    const CaptureRequest request{CaptureSuppressed, fs_.DirectoryExists(paths.storeDir), paths.storeDir,
                                 MultiLang1->GetWord("@103")};
    Win32ClipboardFormats formats;
    Win32ClipWriter writer(hwnd());
    const std::optional<std::string> added = tessera::CaptureClipboard(request, formats, Choix->grid, writer, fs_);
    if (added) Choix->AddAndSelect(*added);
}

// Files that cannot be deleted (held open by another program, read-only) stay items and are
// named to the user in place of the message that the store is empty.
void TForm1::ViderlePressepapiers1Click() {
    if (!win::AskConfirmation(win::Utf8ToWide(MultiLang1->GetWord("@101")), win::DefaultAnswer::No)) return;
    std::vector<std::string> kept;
    if (Choix) {
        kept = ClearStore(fs_, paths.storeDir, Choix->grid);
        Choix->ClearList();
    }
    if (!fs_.RemoveFile(paths.indexFileName)) kept.push_back(paths.indexFileName);
    win::EmptySystemClipboard(hwnd());
    if (kept.empty()) {
        win::ShowInformation(win::Utf8ToWide(MultiLang1->GetWord("@102")));
        return;
    }
    std::wstring text = win::Utf8ToWide(MultiLang1->GetWord("@104"));
    for (const std::string& path : kept) text += L"\n" + win::AnsiToWide(path);
    win::ShowErrorMessage(text);
}

// Both hot keys are ignored while the chooser is open, and so is a hot key held down while its
// command is under way. The copy command only makes the target copy: the capture follows when
// its copy changes the clipboard. The keys wait for the user to let go of the hot key.
void TForm1::WMHotKey(int id) {
    if (!Choix || Choix->Visible() || !hotKeyKeys_) return;
    const HotKeyChord chord{VK_CONTROL, static_cast<std::uint8_t>(id == kCopyHotKey ? 'Q' : VK_SPACE)};
    if (!hotKeyKeys_->Accept(id, chord)) return;
    if (id == kPasteHotKey) PasteCommand();
    if (id == kCopyHotKey) {
        CapturePending = true;
        hotKeyKeys_->Send({std::string(kCopyKeys), RememberForegroundWindow()});
    }
}

// The chosen item goes onto the clipboard with captures suppressed, so that this write is not
// filed as a new item, even with a copy command still pending; then the target pastes it.
void TForm1::PasteCommand() {
    if (Choix->ListCount() == 0) {
        BringProgramForward(hwnd());
        win::ShowInformation(win::Utf8ToWide(MultiLang1->GetWord("@100")));
        return;
    }
    const RememberedWindow target = RememberForegroundWindow();
    BringProgramForward(hwnd());
    if (Choix->ShowModal() != ChooserResult::Ok) return;
    const int line = Choix->ItemIndex();
    if (line < 0) return;
    {
        CaptureSuppressed = true;
        const win::scope_exit resume([this] { CaptureSuppressed = false; });
        if (IsTextItemFileName(Choix->grid.GetCell(1, line)))
            PutRichTextOnClipboard(hwnd(), Choix->RichEdit1());
        else
            PutPictureOnClipboard(hwnd(), Choix->Image1Picture());
    }
    // The foreground goes back to the target while the program may still give it away.
    hotKeyKeys_->Send({std::string(kPasteKeys), target, true});
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
        RECT panel = kPanel1;
        ::DrawEdge(paint.dc(), &panel, BDR_SUNKENINNER, BF_RECT);
        return 0;
    }
    case WM_TIMER:
        if (wParam == kTimer1) Timer1Timer();
        if (wParam == kHotKeyKeysTimer && hotKeyKeys_) hotKeyKeys_->OnTimer();
        return 0;
    case WM_HOTKEY: WMHotKey(static_cast<int>(wParam)); return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        if (HBRUSH brush = controls_.ColourFor(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam)))
            return reinterpret_cast<LRESULT>(brush);
        break;
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
    return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace tessera
