// Tessera's entry: the main block creates the forms in their order and runs the message loop.
#include <windows.h>

#include <commctrl.h>

#include "app/forms_win32.h"
#include "app/main_form_win32.h"
#include "app/run_registry_win32.h"
#include "commands/paste_chooser_win32.h"
#include "store/file_system_win32.h"
#include "win/application.h"
#include "win/system_libraries.h"

namespace tessera {
namespace {

int RunProgram() {
    win::Application& app = win::Application::Instance();
    ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
    // The splash screen arrives with its own form.

    app.SetTitle(L"Tessera");
    Win32FileSystem fs;
    Win32RunRegistry registry;

    TForm1 form1(fs, registry);
    Form1 = &form1;
    // The About box arrives with its own form.
    TChoix choix(fs, form1.paths.exeDir, form1.paths.indexFileName, form1.hwnd());
    Choix = &choix;

    ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
    // The first showing happens off-screen and arms the timer that hides the window.
    ::ShowWindow(form1.hwnd(), SW_SHOWNA);
    const int code = app.Run();

    Choix = nullptr;
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
