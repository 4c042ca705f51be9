// Tessera's entry: the main block creates the forms in their order and runs the message loop.
#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <string_view>

#include "app/about_box_win32.h"
#include "app/main_form_win32.h"
#include "app/program_paths.h"
#include "app/run_registry_win32.h"
#include "app/splash_win32.h"
#include "commands/hot_key_commands_win32.h"
#include "commands/paste_chooser_win32.h"
#include "store/clip_store.h"
#include "store/disk_file_system.h"
#include "win/application.h"
#include "win/system_libraries.h"

namespace tessera {
namespace {

// The forms, the store and the commands are made here and meet only through what this wires:
// each form tells of what happened, and this decides who acts on it.
int RunProgram() {
    win::Application& app = win::Application::Instance();
    ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
    app.SetTitle(L"Tessera");
    // The splash stays up, and responsive, for two seconds, then until the forms are made.
    auto logo = std::make_unique<TLogo>();
    logo->ShowNow();
    logo->Sleeper.Sleep();

    DiskFileSystem fs;
    Win32RunRegistry registry;
    const ProgramPaths paths = ComputeProgramPaths(win::ExecutablePath());
    ClipStore store(fs, paths.storeDir, paths.indexFileName);

    TForm1 form1(store, registry, paths);
    TAboutBox aboutBox(form1.hwnd());
    TChoix choix(store, paths.exeDir, form1.hwnd());
    HotKeyCommandsWin32 commands(form1.hwnd(), choix, store,
                                 [&form1](std::string_view id) { return form1.MultiLang1->GetWord(id); });

    form1.OnHotKey = [&commands](int id) { commands.Commands().OnHotKey(id); };
    form1.OnClipboardChange = [&commands] { commands.Commands().OnClipboardChange(); };
    form1.OnStoreCleared = [&choix] { choix.ClearList(); };
    form1.OnAbout = [&aboutBox] { aboutBox.ShowModal(); };
    choix.OnClearRequested = [&form1] { form1.ViderlePressepapiers1Click(); };
    choix.OnClosing = [&form1] { form1.SaveSettings(); };
    // Every form exists: captures may come from now on.
    commands.Commands().CaptureSuppressed = false;

    ::ShowWindow(logo->hwnd(), SW_HIDE);
    logo.reset();

    ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
    // The first showing happens off-screen and arms the timer that hides the window.
    ::ShowWindow(form1.hwnd(), SW_SHOWNA);
    return app.Run();
}

}  // namespace
}  // namespace tessera

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    tessera::win::RestrictDllSearchToSystemFolder();
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&icc);
    try {
        return tessera::RunProgram();
    } catch (const tessera::StartupAborted&) {
        return 1;
    } catch (...) {
        tessera::win::Application::Instance().ShowCurrentException();
        return 1;
    }
}
