#pragma once
// The program's message boxes: centred on the screen, with captions and buttons in the program's
// language (French until told otherwise).
#include <windows.h>

#include <span>
#include <string>
#include <string_view>

namespace tessera::win {

// A button of the system's box (IDOK, IDYES or IDNO) and the text it shows.
struct BoxButton {
    int id;
    const wchar_t* text;
};

// What a box looks like: its caption, its icon (MB_ICONINFORMATION, ...), its buttons (one OK
// button, or Yes and No in that order) and the one of them that Enter presses.
struct BoxLook {
    const wchar_t* caption;
    UINT icon;
    std::span<const BoxButton> buttons;
    int defaultButton;
};

// Shows `text` in a task-modal box in front of every window, centred on the screen; returns the
// id of the button pressed.
int ShowMessageBox(std::wstring_view text, const BoxLook& look);

// The captions of the three boxes and the texts of their buttons.
struct BoxTexts {
    std::wstring information = L"Information";
    std::wstring confirmation = L"Confirmation";
    std::wstring error = L"Erreur";
    std::wstring yes = L"&Oui";
    std::wstring no = L"&Non";
    std::wstring ok = L"OK";
    std::wstring cancel = L"Annuler";
};
// The texts the boxes show from now on, and those in force.
void SetBoxTexts(BoxTexts texts);
const BoxTexts& CurrentBoxTexts();

// The button that Enter presses in a confirmation.
enum class DefaultAnswer { Yes, No };

void ShowInformation(std::wstring_view text);
// True only when the user answers "&Oui".
bool AskConfirmation(std::wstring_view text, DefaultAnswer answer = DefaultAnswer::Yes);
void ShowErrorMessage(std::wstring_view text);

}  // namespace tessera::win
