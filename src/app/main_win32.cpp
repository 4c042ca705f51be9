// Tessera's entry: the main block creates the forms in their order and runs the message loop.
#include <windows.h>

#include <commctrl.h>

#include <memory>

#include "app/about_box_win32.h"
#include "app/forms_win32.h"
#include "app/main_form_win32.h"
#include "app/run_registry_win32.h"
#include "app/splash_win32.h"
#include "commands/paste_chooser_win32.h"
#include "store/file_system_win32.h"
#include "win/application.h"
#include "win/system_libraries.h"

namespace tessera {
namespace {

int RunProgram() {
    win::Application& app = win::Application::Instance();
    ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
    app.SetTitle(L"Tessera");
    // The splash stays up, and responsive, for two seconds, then until the forms are made.
    auto logo = std::make_unique<TLogo>();
    logo->ShowNow();
    logo->Sleeper.Sleep();

    Win32FileSystem fs;
    Win32RunRegistry registry;

    TForm1 form1(fs, registry);
    Form1 = &form1;
    TAboutBox aboutBox(form1.hwnd());
    AboutBox = &aboutBox;
    TChoix choix(fs, form1.paths.exeDir, form1.paths.indexFileName, form1.hwnd());
    Choix = &choix;

    ::ShowWindow(logo->hwnd(), SW_HIDE);
    logo.reset();

    ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
    // The first showing happens off-screen and arms the timer that hides the window.
    ::ShowWindow(form1.hwnd(), SW_SHOWNA);
    const int code = app.Run();

    Choix = nullptr;
    AboutBox = nullptr;
    Form1 = nullptr;
    return code;
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
