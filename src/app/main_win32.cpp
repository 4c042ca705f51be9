// Tessera's entry: the main block creates the forms in their order and runs the message loop.
#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <string_view>

#include "app/profile_file_win32.h"
#include "app/program_paths.h"
#include "app/program_win32.h"
#include "app/run_registry_win32.h"
#include "app/settings.h"
#include "app/splash_win32.h"
#include "store/disk_file_system.h"
#include "win/application.h"
#include "win/system_libraries.h"

namespace tessera {
namespace {

int RunProgram() {
    win::Application& app = win::Application::Instance();
    ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
    app.SetTitle(L"Tessera");
    const ProgramPaths paths = ComputeProgramPaths(win::ExecutablePath());
    DiskFileSystem fs;
    Win32RunRegistry registry;
    Program program(fs, registry, paths);
    // A second start from the same folder ends here, before its splash.
    if (!program.ClaimStore()) return 0;

    // The splash stays up, and responsive, for two seconds, then until the forms are made. It
    // speaks the language the settings ask for, which the forms take later.
    ProfileFile settingsFile(paths.iniFileName);
    auto logo = std::make_unique<TLogo>(LoadLanguage(settingsFile) == Language::English);
    logo->ShowNow();
    logo->Sleeper.Sleep();

    program.MakeForms();
    program.Start();

    ::ShowWindow(logo->hwnd(), SW_HIDE);
    logo.reset();

    ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
    // The first showing happens off-screen and arms the timer that hides the window.
    ::ShowWindow(program.MainWindow().hwnd(), SW_SHOWNA);
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
    } catch (...) {
        tessera::win::Application::Instance().ShowCurrentException();
        return 1;
    }
}
