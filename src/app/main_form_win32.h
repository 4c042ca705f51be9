#pragma once
// TForm1, the main window: the hidden options window that owns what the whole program shares
// (paths, hot keys, tray menu, clipboard viewer, settings, "Start with Windows").
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "app/program_paths.h"
#include "app/run_registry_win32.h"
#include "app/settings.h"
#include "app/tray_menu_win32.h"
#include "controls/clipboard_viewer_win32.h"
#include "controls/tray_icon_win32.h"
#include "lang/translated_form_win32.h"
#include "win/unique_handle.h"

namespace tessera {

class RunRegistry;

class TForm1 final : public TranslatedForm {
public:
    // Creates the window and runs FormCreate. `registry` is where "Start with Windows" is kept.
    TForm1(RunRegistry& registry, ProgramPaths paths);
    ~TForm1() override;

    ProgramPaths paths;
    int32_t SavedLeft = 0;
    int32_t SavedTop = 0;
    bool FirstShowPending = true;

    std::unique_ptr<TClipboardViewer> ClipboardViewer1;
    std::unique_ptr<TrayIconWin32> TrayIcon1;

    // What the window tells its owner: a hot key came (its id), the clipboard changed, the user
    // asked to clear the store, "About..." was pressed; the program is quitting (after the
    // settings were saved), or the session is ending (nothing can be shown any more); a message
    // posted by PostStoreWriteFailed came.
    std::function<void(int id)> OnHotKey;
    std::function<void()> OnClipboardChange;
    std::function<void()> OnClearRequested;
    std::function<void()> OnAbout;
    std::function<void()> OnQuitting;
    std::function<void()> OnSessionEnding;
    std::function<void()> OnStoreWriteFailed;
    // From any thread: OnStoreWriteFailed runs on the window's thread.
    void PostStoreWriteFailed() const;
    // The user chose other hot keys in the options window.
    std::function<void(const HotKey& copy, const HotKey& paste)> OnHotKeysChosen;
    // The user turned "Garder chaque copie" on or off, from the window or the tray menu.
    std::function<void(bool on)> OnKeepEveryCopyChanged;

    // What the settings file says (read at creation) as changed since.
    const Settings& CurrentSettings() const noexcept { return settings_; }
    // Shows the hot keys in force (the labels and the fields); a key that is not active is marked.
    void ShowHotKeys(const HotKey& copy, bool copyActive, const HotKey& paste, bool pasteActive);
    // Every form's texts and the message boxes in `language`, from now on.
    void UseLanguage(Language language);
    // Tells the user something that needs no answer: a balloon from the tray icon, else a box.
    void TellUser(const std::wstring& text);
    // Names the settings that could not be read (their defaults are in force), if any.
    void ReportUnreadableSettings();

    // The settings file. Throws std::runtime_error naming the file when it cannot be written.
    void SaveSettings();
    HMENU TrayMenu1() const noexcept { return trayMenu_->menu(); }
    // Whether the hidden "Animate tray" item is checked.
    bool Animatetray1Checked() const;

    // Menu and button handlers, named after their controls.
    void Showmainscreen2Click();        // tray menu "&Options...": shows the window
    void SpeedButton1Click();           // "Cacher": hides the window and saves the settings
    void SpeedButton3Click();           // "A propos...": the About box
    void Close2Click();                 // tray menu "&Quitter": saves and ends the program
    void Animatetray1Click();           // the hidden "Animate tray" item: animation on or off
    void TrayMenu1Popup();              // the tray menu is about to open
    void WinStartClick();               // "Démarrer avec Windows" changed: the Run value
    void ClipboardViewer1Change();      // the clipboard viewer saw a change
    void ViderlePressepapiers1Click();  // "Vider le Presse-papiers...": asks to clear the store

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void DpiChanged() override;

private:
    void FormCreate();
    void FormShow();
    void Timer1Timer();
    void FormDestroy();
    void OnCommand(int id, int code);
    void PrepareChoices();
    void HotKeyFieldChanged(int id);
    void WMHotKey(int id);
    void SetWinStartChecked(bool checked);
    void SetKeepEveryCopy(bool on);
    // The option's check box, its tray menu item and the tray icon's tip, as the settings say.
    void ShowKeepEveryCopy();
    bool WinStartChecked() const;
    void BuildTrayMenu();
    void CreateTrayIcon();
    void ShowImage2();

    RunRegistry& registry_;
    std::unique_ptr<TrayMenuWin32> trayMenu_;
    win::unique_hicon image2Icon_;
    bool destroyed_ = false;
    Settings settings_;
    bool copyActive_ = true;
    bool pasteActive_ = true;
    bool showingHotKeys_ = false;
};

}  // namespace tessera
