#include "lang/language_dialogs_win32.h"

#include <windows.h>

#include <string>

#include "win/message_boxes.h"
#include "win/text.h"
#include "win/unique_handle.h"

namespace tessera {
namespace {

// The system's box has no Cancel-only layout: a CBT hook renames its single OK button as the
// box is activated, before it is first drawn.
LRESULT CALLBACK RenameOk(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        ::SetDlgItemTextW(reinterpret_cast<HWND>(wParam), IDOK, L"Annuler");
        return 0;
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

void ShowWithCancel(const std::wstring& text) {
    win::unique_hhook hook(::SetWindowsHookExW(WH_CBT, RenameOk, nullptr, ::GetCurrentThreadId()));
    ::MessageBoxW(nullptr, text.c_str(), L"Information", MB_OK | MB_ICONINFORMATION | MB_TASKMODAL | MB_SETFOREGROUND);
}

}  // namespace

bool LanguageDialogsWin32::Show(LanguageBox box, std::string_view text) {
    // The switcher separates lines with a lone carriage return; the message box breaks on line feeds.
    std::wstring wide = win::Utf8ToWide(text);
    for (wchar_t& c : wide)
        if (c == L'\r') c = L'\n';
    switch (box) {
    case LanguageBox::InformationCancel: ShowWithCancel(wide); return false;
    case LanguageBox::InformationOk: win::ShowInformation(wide); return false;
    case LanguageBox::ConfirmationYesNo:
    case LanguageBox::WarningYesNo: return win::AskConfirmation(wide);
    }
    return false;
}

}  // namespace tessera
