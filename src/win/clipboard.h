#pragma once
// The system clipboard held open for one scope.
#include <windows.h>

namespace tessera::win {

// Opens the clipboard for `owner`, closing it at the end of the scope. Another program may hold
// the clipboard for a moment, so the opening is retried for about 100 ms before it fails with
// "Ne peut ouvrir le Presse-papiers".
class ClipboardScope {
public:
    explicit ClipboardScope(HWND owner);
    ~ClipboardScope();
    ClipboardScope(const ClipboardScope&) = delete;
    ClipboardScope& operator=(const ClipboardScope&) = delete;
};

// Opens the clipboard, empties it and closes it.
void EmptySystemClipboard(HWND owner);

}  // namespace tessera::win
