#pragma once
// The program's three message boxes, centred on the screen, with French captions and buttons.
#include <string_view>

namespace tessera::win {

// The button that Enter presses in a confirmation.
enum class DefaultAnswer { Yes, No };

void ShowInformation(std::wstring_view text);
// True only when the user answers "&Oui".
bool AskConfirmation(std::wstring_view text, DefaultAnswer answer = DefaultAnswer::Yes);
void ShowErrorMessage(std::wstring_view text);

}  // namespace tessera::win
