#include "win/message_boxes.h"

#include <windows.h>

#include <string>

#include <utility>

namespace tessera::win {
namespace {

// The system's message box has no way to name its buttons or to be centred on the screen, so a
// CBT hook catches the box as it is activated (before it is first drawn) and does both.
thread_local HHOOK activeHook = nullptr;

LRESULT CALLBACK RenameAndCentre(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        HWND box = reinterpret_cast<HWND>(wParam);
        ::SetDlgItemTextW(box, IDYES, L"&Oui");
        ::SetDlgItemTextW(box, IDNO, L"&Non");
        ::SetDlgItemTextW(box, IDOK, L"OK");
        RECT r{};
        ::GetWindowRect(box, &r);
        const int w = r.right - r.left;
        const int h = r.bottom - r.top;
        const int x = (::GetSystemMetrics(SM_CXSCREEN) - w) / 2;
        const int y = (::GetSystemMetrics(SM_CYSCREEN) - h) / 2;
        ::SetWindowPos(box, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        // One box per hook: later activations (another window, a nested box) are not ours.
        HHOOK hook = activeHook;
        activeHook = nullptr;
        ::UnhookWindowsHookEx(hook);
        return 0;
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

int ShowBox(std::wstring_view text, const wchar_t* caption, UINT type) {
    if (activeHook) ::UnhookWindowsHookEx(std::exchange(activeHook, nullptr));
    activeHook = ::SetWindowsHookExW(WH_CBT, RenameAndCentre, nullptr, ::GetCurrentThreadId());
    const std::wstring copy(text);
    // Task-modal with no owner: the program's windows are all disabled while the box is open,
    // even when none of them is visible (the program lives in the notification area).
    const int answer =
        ::MessageBoxW(nullptr, copy.c_str(), caption, type | MB_TASKMODAL | MB_SETFOREGROUND | MB_TOPMOST);
    if (activeHook) ::UnhookWindowsHookEx(std::exchange(activeHook, nullptr));
    return answer;
}

}  // namespace

void ShowInformation(std::wstring_view text) { ShowBox(text, L"Information", MB_OK | MB_ICONINFORMATION); }

bool AskConfirmation(std::wstring_view text, DefaultAnswer answer) {
    const UINT defaultButton = answer == DefaultAnswer::No ? MB_DEFBUTTON2 : MB_DEFBUTTON1;
    return ShowBox(text, L"Confirmation", MB_YESNO | MB_ICONQUESTION | defaultButton) == IDYES;
}

void ShowErrorMessage(std::wstring_view text) { ShowBox(text, L"Erreur", MB_OK | MB_ICONERROR); }

}  // namespace tessera::win
