#pragma once
// TForm1, the main window: the hidden options window that owns what the whole program shares
// (paths, capture flags, hot keys, tray menu, settings, "Start with Windows").
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "app/program_paths.h"
#include "app/run_registry_win32.h"
#include "app/tray_menu_win32.h"
#include "controls/clipboard_viewer_win32.h"
#include "controls/tray_icon_win32.h"
#include "keys/hot_key_keys_win32.h"
#include "lang/control_set_components_win32.h"
#include "lang/language_dialogs_win32.h"
#include "lang/multi_lang.h"
#include "store/file_system.h"
#include "win/control_table.h"
#include "win/unique_handle.h"
#include "win/window.h"

namespace tessera {

class RunRegistry;

class TForm1 final : public win::Window {
public:
    // Ids of the hot keys registered on this window.
    static constexpr int kPasteHotKey = 100;
    static constexpr int kCopyHotKey = 101;

    // Creates the window and runs FormCreate. `registry` is where "Start with Windows" is kept.
    TForm1(FileSystem& fs, RunRegistry& registry);
    ~TForm1() override;

    ProgramPaths paths;
    int32_t SavedLeft = 0;
    int32_t SavedTop = 0;
    bool FirstShowPending = true;
    bool CaptureSuppressed = true;
    bool CapturePending = false;

    std::unique_ptr<TClipboardViewer> ClipboardViewer1;
    std::unique_ptr<TrayIconWin32> TrayIcon1;
    std::unique_ptr<TMultiLang> MultiLang1;

    void SaveSettings();
    HMENU TrayMenu1() const noexcept { return trayMenu_->menu(); }
    // Whether the hidden "Animate tray" item is checked.
    bool Animatetray1Checked() const noexcept { return animatetray1Checked_; }

    // Menu and button handlers.
    void Showmainscreen2Click();
    void SpeedButton1Click();
    void SpeedButton3Click();
    void Close2Click();
    void Animatetray1Click();
    void TrayMenu1Popup();
    void WinStartClick();
    void ClipboardViewer1Change();
    void CaptureClipboard();
    void ViderlePressepapiers1Click();

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void FormCreate();
    void FormShow();
    void Timer1Timer();
    void FormDestroy();
    void OnCommand(int id);
    void WMHotKey(int id);
    void PasteCommand();
    void SetWinStartChecked(bool checked);
    bool WinStartChecked() const;
    void BuildTrayMenu();
    void CreateTrayIcon();
    void CreateLanguageSwitcher();

    FileSystem& fs_;
    RunRegistry& registry_;
    win::ControlSet controls_;
    std::unique_ptr<TrayMenuWin32> trayMenu_;
    // The hot-key commands' keys, timed against the user's keys of the hot key.
    std::unique_ptr<HotKeyKeysWin32> hotKeyKeys_;
    bool animatetray1Checked_ = true;
    LanguageDialogsWin32 languageDialogs_;
    std::unique_ptr<ControlSetComponents> languageView_;
    bool destroyed_ = false;
};

}  // namespace tessera
