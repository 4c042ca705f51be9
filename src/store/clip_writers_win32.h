#pragma once
// The writers that file the clipboard's content of each kind, given the window that opens the
// clipboard and the new file's full path. Each does nothing when its format has left the
// clipboard, and throws std::runtime_error("Impossible de créer le fichier " + path) when the file
// cannot be made.
#include <windows.h>

#include <string>

#include "store/capture.h"

namespace tessera {

// Rich text (RTF), as a hidden rich-edit control streams out what it pasted.
void SaveTextClip(HWND owner, const std::string& path);
// A .bmp file of the clipboard's bitmap.
void SaveBitmapClip(HWND owner, const std::string& path);
// A placeable .wmf file of the clipboard's metafile picture.
void SaveMetafileClip(HWND owner, const std::string& path);
// The clipboard's enhanced metafile, copied to an .emf file.
void SaveEnhMetafileClip(HWND owner, const std::string& path);

// The capture's writer port over the four writers above.
class Win32ClipWriter final : public ClipWriter {
public:
    explicit Win32ClipWriter(HWND owner) noexcept : owner_(owner) {}
    void Write(ClipKind kind, const std::string& path) override;

private:
    HWND owner_;
};

}  // namespace tessera
