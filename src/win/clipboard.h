#pragma once
// The system clipboard held open for one scope.
#include <windows.h>

#include <cstddef>
#include <string>

#include "win/unique_handle.h"

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

// A movable memory block holding a copy of `size` bytes, as the clipboard takes them; empty when
// the memory could not be had.
unique_hglobal GlobalCopy(const void* data, std::size_t size);
// Hands `block` to the open clipboard as `format`; the clipboard owns it once it is accepted,
// otherwise it is freed here.
void GiveToClipboard(UINT format, unique_hglobal block);

// The open clipboard's text in UTF-16 (the system makes it from 8-bit text), up to its first NUL;
// empty when there is none.
std::wstring ClipboardUnicodeText();

// Opens the clipboard, empties it and closes it.
void EmptySystemClipboard(HWND owner);

}  // namespace tessera::win
