#include "store/clip_kind.h"

namespace tessera {

// A text item is filed even when a picture sits beside it: applications that copy text often
// add a picture of it, and the text is what the user copied.
std::optional<ClipKind> ChooseClipKind(const ClipboardFormats& formats) {
    if (formats.IsAvailable(kFormatText) || formats.IsAvailable(kFormatOemText)) return ClipKind::Text;
    if (formats.IsAvailable(kFormatBitmap)) return ClipKind::Image;
    if (formats.IsAvailable(kFormatMetafilePict)) return ClipKind::Clipart;
    if (formats.IsAvailable(kFormatEnhMetafile)) return ClipKind::SuperClipart;
    return std::nullopt;
}

std::string ClipKindPrefix(ClipKind kind, std::string_view textPrefix) {
    switch (kind) {
    case ClipKind::Text: return std::string(textPrefix);
    case ClipKind::Image: return "Image";
    case ClipKind::Clipart: return "Clipart";
    case ClipKind::SuperClipart: return "SuperClipart";
    }
    return {};
}

// A text item holds rich text in spite of its ".txt": the name is what users and older stores know.
std::string_view ClipKindExtension(ClipKind kind) {
    switch (kind) {
    case ClipKind::Text: return ".txt";
    case ClipKind::Image: return ".bmp";
    case ClipKind::Clipart: return ".wmf";
    case ClipKind::SuperClipart: return ".emf";
    }
    return {};
}

}  // namespace tessera
