#include "app/running_program_win32.h"

#include <windows.h>

#include "app/window_ids.h"

namespace tessera {

StoreUser ThisStoreUser() {
    char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = sizeof name;
    if (!::GetComputerNameA(name, &size)) name[0] = '\0';
    return {name, ::GetCurrentProcessId()};
}

namespace {

struct Search {
    DWORD process;
    HWND found = nullptr;
};

BOOL CALLBACK FindMainWindow(HWND window, LPARAM lParam) {
    auto& search = *reinterpret_cast<Search*>(lParam);
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    wchar_t className[16] = {};
    if (process != search.process || !::GetClassNameW(window, className, 16) || ::lstrcmpW(className, L"TForm1") != 0)
        return TRUE;
    search.found = window;
    return FALSE;
}

}  // namespace

// The process that started last may give the foreground away; the running one takes it when it
// shows its window.
bool ShowOptionsOfRunningTessera(std::uint32_t process) {
    Search search{process};
    ::EnumWindows(FindMainWindow, reinterpret_cast<LPARAM>(&search));
    if (!search.found) return false;
    ::AllowSetForegroundWindow(process);
    return ::PostMessageW(search.found, WM_COMMAND, MAKEWPARAM(kShowOptionsCommand, 0), 0) != FALSE;
}

}  // namespace tessera
