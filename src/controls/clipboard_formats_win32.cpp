#include "controls/clipboard_formats_win32.h"

#include "win/clipboard.h"
#include "win/last_error.h"

namespace tessera {
namespace {

ClipboardFormat Register(const char* name) {
    const UINT format = ::RegisterClipboardFormatA(name);
    if (format == 0) win::ThrowLastError("RegisterClipboardFormatA");
    return format;
}

}  // namespace

const RegisteredFormats& ViewerClipboardFormats() {
    static const RegisteredFormats formats{Register(kPictureFormatName), Register(kComponentFormatName),
                                           Register(kIconFormatName)};
    return formats;
}

std::vector<ClipboardFormat> OpenClipboardFormats() {
    std::vector<ClipboardFormat> formats;
    UINT format = 0;
    while ((format = ::EnumClipboardFormats(format)) != 0) formats.push_back(format);
    return formats;
}

bool Win32ClipboardProbe::IsAvailable(ClipboardFormat format) const {
    return format != 0 && ::IsClipboardFormatAvailable(format);
}

bool Win32ClipboardProbe::IsEmpty() const { return ::CountClipboardFormats() == 0; }

std::vector<ClipboardFormat> Win32ClipboardProbe::Formats() const {
    win::ClipboardScope open(opener_);
    return OpenClipboardFormats();
}

}  // namespace tessera
