#pragma once
// The steps of the two hot-key commands that talk to other programs and to the clipboard.
#include <windows.h>

#include <string>

#include "controls/picture_view_win32.h"
#include "keys/target_window.h"

namespace tessera {

// The foreground window and its title, 4,095 characters at most; the title is empty when the
// window does not answer within a second, both are empty when there is no foreground window.
RememberedWindow RememberForegroundWindow();
// Brings the program's last active pop-up of `appWindow` forward, when there is one other than
// `appWindow` itself that is visible and enabled.
void BringProgramForward(HWND appWindow);
// Empties the clipboard and puts the whole content of a rich-edit control on it, as rich text
// and as plain text. Throws when the clipboard cannot be opened.
void PutRichTextOnClipboard(HWND owner, HWND richEdit);
// Empties the clipboard and puts a copy of `picture` on it: a bitmap (with its palette when it
// has one) or an enhanced metafile. An empty picture leaves the clipboard empty.
void PutPictureOnClipboard(HWND owner, const Picture& picture);

}  // namespace tessera
