#pragma once
// The program's registered clipboard formats, and the clipboard probe over the real clipboard.
#include <windows.h>

#include <vector>

#include "controls/clipboard_view_format.h"
#include "controls/view_format_rules.h"

namespace tessera {

inline constexpr const char* kPictureFormatName = "Tessera Picture";
inline constexpr const char* kComponentFormatName = "Tessera Component";
inline constexpr const char* kIconFormatName = "Tessera Icon";

// Registers the three formats on the first call; their numbers then stay for the session.
const RegisteredFormats& ViewerClipboardFormats();

// The formats of the clipboard, which the caller holds open, in the clipboard's order.
std::vector<ClipboardFormat> OpenClipboardFormats();

class Win32ClipboardProbe final : public ClipboardProbe {
public:
    // `opener` is the window that opens the clipboard to walk it (null until the window exists).
    void SetOpener(HWND opener) noexcept { opener_ = opener; }

    bool IsAvailable(ClipboardFormat format) const override;
    bool IsEmpty() const override;
    std::vector<ClipboardFormat> Formats() const override;

private:
    HWND opener_ = nullptr;
};

}  // namespace tessera
