#pragma once
// The writers that turn the clipboard's content of each kind into the bytes of its item file,
// given the window that opens the clipboard. Each reports FormatGone when its format has left
// the clipboard, and Unreadable when the content cannot be read. Opening a clipboard that another
// program holds throws (win::ClipboardScope).
#include <windows.h>

#include <string>

#include "store/capture.h"

namespace tessera {

// Rich text (RTF): the clipboard's own rich text, or what a rich-edit control makes of its text.
ClipFileContent SaveTextClip(HWND owner);
// A .bmp file of the clipboard's bitmap.
ClipFileContent SaveBitmapClip(HWND owner);
// A placeable .wmf file of the clipboard's metafile picture.
ClipFileContent SaveMetafileClip(HWND owner);
// An .emf file of the clipboard's enhanced metafile.
ClipFileContent SaveEnhMetafileClip(HWND owner);

// The capture's writer port over the four writers above.
class Win32ClipWriter final : public ClipWriter {
public:
    explicit Win32ClipWriter(HWND owner) noexcept : owner_(owner) {}
    ClipFileContent Read(ClipKind kind) override;

private:
    HWND owner_;
};

}  // namespace tessera
