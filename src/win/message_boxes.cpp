#include "win/message_boxes.h"

#include <string>
#include <utility>

#include "win/unique_handle.h"

namespace tessera::win {
namespace {

BoxTexts& Texts() {
    static BoxTexts texts;
    return texts;
}

// The box about to open on this thread, until its first activation.
struct PendingBox {
    const BoxLook* look;
    unique_hhook hook;
};
thread_local PendingBox* pending = nullptr;

// The system's message box has no way to name its buttons or to be centred on the screen, so a
// CBT hook catches the box as it is activated (before it is first drawn) and does both.
LRESULT CALLBACK NameAndCentre(int code, WPARAM wParam, LPARAM lParam) {
    if (code != HCBT_ACTIVATE || !pending) return ::CallNextHookEx(nullptr, code, wParam, lParam);
    HWND box = reinterpret_cast<HWND>(wParam);
    for (const BoxButton& button : pending->look->buttons) ::SetDlgItemTextW(box, button.id, button.text);
    RECT r{};
    ::GetWindowRect(box, &r);
    const int x = (::GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2;
    const int y = (::GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 2;
    ::SetWindowPos(box, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    // One box per hook: later activations (another window, a nested box) are not this box's.
    std::exchange(pending, nullptr)->hook.reset();
    return 0;
}

// The system's layout for the buttons, and which of them is the default.
UINT TypeOf(const BoxLook& look) {
    UINT type = look.icon | (look.buttons.size() == 2 ? MB_YESNO : MB_OK);
    if (look.buttons.size() == 2 && look.buttons[1].id == look.defaultButton) type |= MB_DEFBUTTON2;
    return type;
}

}  // namespace

int ShowMessageBox(std::wstring_view text, const BoxLook& look) {
    PendingBox box{&look, unique_hhook(::SetWindowsHookExW(WH_CBT, NameAndCentre, nullptr, ::GetCurrentThreadId()))};
    PendingBox* const outer = std::exchange(pending, &box);
    const scope_exit restore([outer] { pending = outer; });
    const std::wstring copy(text);
    // Task-modal with no owner: the program's windows are all disabled while the box is open,
    // even when none of them is visible (the program lives in the notification area).
    return ::MessageBoxW(nullptr, copy.c_str(), look.caption,
                         TypeOf(look) | MB_TASKMODAL | MB_SETFOREGROUND | MB_TOPMOST);
}

void SetBoxTexts(BoxTexts texts) { Texts() = std::move(texts); }

const BoxTexts& CurrentBoxTexts() { return Texts(); }

void ShowInformation(std::wstring_view text) {
    const BoxButton ok[] = {{IDOK, Texts().ok.c_str()}};
    ShowMessageBox(text, {Texts().information.c_str(), MB_ICONINFORMATION, ok, IDOK});
}

bool AskConfirmation(std::wstring_view text, DefaultAnswer answer) {
    const int defaultButton = answer == DefaultAnswer::No ? IDNO : IDYES;
    const BoxButton yesNo[] = {{IDYES, Texts().yes.c_str()}, {IDNO, Texts().no.c_str()}};
    return ShowMessageBox(text, {Texts().confirmation.c_str(), MB_ICONQUESTION, yesNo, defaultButton}) == IDYES;
}

void ShowErrorMessage(std::wstring_view text) {
    const BoxButton ok[] = {{IDOK, Texts().ok.c_str()}};
    ShowMessageBox(text, {Texts().error.c_str(), MB_ICONERROR, ok, IDOK});
}

}  // namespace tessera::win
