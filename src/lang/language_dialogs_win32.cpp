#include "lang/language_dialogs_win32.h"

#include <string>

#include "win/message_boxes.h"
#include "win/text.h"

namespace tessera {

bool LanguageDialogsWin32::Show(LanguageBox box, std::string_view text) {
    // The switcher separates lines with a lone carriage return; the message box breaks on line feeds.
    std::wstring wide = win::Utf8ToWide(text);
    for (wchar_t& c : wide)
        if (c == L'\r') c = L'\n';
    switch (box) {
    case LanguageBox::InformationCancel: {
        // The system's box has no Cancel-only layout: its single OK button is named Cancel.
        const win::BoxTexts& texts = win::CurrentBoxTexts();
        const win::BoxButton cancelOnly[] = {{IDOK, texts.cancel.c_str()}};
        win::ShowMessageBox(wide, {texts.information.c_str(), MB_ICONINFORMATION, cancelOnly, IDOK});
        return false;
    }
    case LanguageBox::InformationOk: win::ShowInformation(wide); return false;
    case LanguageBox::ConfirmationYesNo:
    case LanguageBox::WarningYesNo: return win::AskConfirmation(wide);
    }
    return false;
}

}  // namespace tessera
