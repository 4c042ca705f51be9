#include "controls/clipboard_view_format.h"

namespace tessera {

ClipboardFormat ViewFormatToClipboardFormat(TClipboardViewFormat v, const RegisteredFormats& registered) {
    // A stray value with high bits set (read from elsewhere, or cast) still selects a row by its
    // low seven bits, as the table has always been indexed.
    switch (static_cast<unsigned>(v) & 0x7Fu) {
    case cvText: return clipboard_format::kText;
    case cvBitmap: return clipboard_format::kBitmap;
    case cvMetafile: return clipboard_format::kMetafilePict;
    case cvPalette: return clipboard_format::kPalette;
    case cvOemText: return clipboard_format::kOemText;
    case cvPicture: return registered.picture;
    case cvComponent: return registered.component;
    case cvIcon: return registered.icon;
    default: return clipboard_format::kNone;
    }
}

ViewKind ViewKindOf(TClipboardViewFormat v) {
    switch (v) {
    case cvBitmap:
    case cvMetafile:
    case cvPicture:
    case cvIcon: return ViewKind::Picture;
    case cvPalette: return ViewKind::Palette;
    case cvComponent: return ViewKind::Component;
    default: return ViewKind::Text;
    }
}

}  // namespace tessera
