#include "controls/clipboard_reading_win32.h"

#include <cstdint>
#include <span>
#include <stdexcept>
#include <vector>

#include "controls/clipboard_formats_win32.h"
#include "controls/icon_image.h"
#include "controls/palette_grid_win32.h"
#include "controls/view_format_rules.h"
#include "win/clipboard.h"
#include "win/last_error.h"

namespace tessera {
namespace {

HANDLE ClipboardData(UINT format) {
    HANDLE data = ::GetClipboardData(format);
    if (!data) win::ThrowLastError("GetClipboardData");
    return data;
}

std::vector<std::uint8_t> LockedBytes(HGLOBAL block) {
    win::global_lock<std::uint8_t> lock(block);
    if (!lock) win::ThrowLastError("GlobalLock");
    return std::vector<std::uint8_t>(lock.get(), lock.get() + lock.size());
}

}  // namespace

win::Picture LoadClipboardPicture(HWND opener, const RegisteredFormats& registered) {
    win::ClipboardScope open(opener);
    const ClipboardFormat first = FirstRecognisedPictureFormat(OpenClipboardFormats(), registered);
    win::Picture picture;
    switch (RecognisedPictureClass(first, registered)) {
    case PictureClass::None: throw std::runtime_error("Format de Presse-papiers incorrect");
    case PictureClass::Icon:
        // Icons come only through ReadClipboardIcon.
        throw std::runtime_error("Le Presse-papiers ne supporte pas les icônes");
    case PictureClass::Metafile: {
        // The system offers every metafile picture as an enhanced metafile as well.
        auto data = static_cast<HENHMETAFILE>(ClipboardData(CF_ENHMETAFILE));
        picture.metafile.reset(::CopyEnhMetaFileW(data, nullptr));
        if (!picture.metafile) win::ThrowLastError("CopyEnhMetaFileW");
        break;
    }
    case PictureClass::Bitmap: {
        // The clipboard keeps its own handles: the view gets copies.
        auto data = static_cast<HBITMAP>(ClipboardData(CF_BITMAP));
        picture.bitmap.reset(static_cast<HBITMAP>(::CopyImage(data, IMAGE_BITMAP, 0, 0, 0)));
        if (!picture.bitmap) win::ThrowLastError("CopyImage");
        picture.palette = DuplicatePalette(static_cast<HPALETTE>(::GetClipboardData(CF_PALETTE)));
        break;
    }
    }
    return picture;
}

win::unique_hicon ReadClipboardIcon(HWND opener, ClipboardFormat iconFormat) {
    if (iconFormat == 0 || !::IsClipboardFormatAvailable(iconFormat)) return {};
    std::vector<std::uint8_t> bytes;
    {
        win::ClipboardScope open(opener);
        bytes = LockedBytes(ClipboardData(iconFormat));
    }
    const auto image = FindIconImage(bytes);
    if (!image) throw std::runtime_error("Icône incorrecte");
    win::unique_hicon icon(::CreateIconFromResourceEx(bytes.data() + image->offset, static_cast<DWORD>(image->size),
                                                      TRUE, 0x00030000, image->width, image->height, LR_DEFAULTCOLOR));
    if (!icon) throw std::runtime_error("Icône incorrecte");
    return icon;
}

std::string ReadClipboardBlock(HWND opener, ClipboardFormat format) {
    win::ClipboardScope open(opener);
    const std::vector<std::uint8_t> bytes = LockedBytes(ClipboardData(format));
    return std::string(bytes.begin(), bytes.end());
}

}  // namespace tessera
