#pragma once
// Reading the viewer's pictures, icons and components from the clipboard. Each call opens the
// clipboard for `opener` and closes it before returning, also on failure.
#include <windows.h>

#include <string>

#include "controls/clipboard_view_format.h"
#include "win/picture.h"
#include "win/unique_handle.h"

namespace tessera {

// The picture of the first recognised format in clipboard order (a metafile always through its
// CF_ENHMETAFILE data, a bitmap with the CF_PALETTE data). Throws when that format is the icon
// format or when there is none.
win::Picture LoadClipboardPicture(HWND opener, const RegisteredFormats& registered);

// The icon of the icon format's data, or none when that format is not on the clipboard.
win::unique_hicon ReadClipboardIcon(HWND opener, ClipboardFormat iconFormat);

// The whole data block of a memory-block format.
std::string ReadClipboardBlock(HWND opener, ClipboardFormat format);

}  // namespace tessera
