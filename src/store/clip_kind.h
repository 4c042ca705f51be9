#pragma once
// The kinds of clip item, their names and files, and the clipboard test that picks one.
#include <optional>
#include <string>
#include <string_view>

namespace tessera {

enum class ClipKind { Text, Image, Clipart, SuperClipart };

// The standard clipboard format numbers the kinds are tested with.
inline constexpr unsigned kFormatText = 1;          // CF_TEXT
inline constexpr unsigned kFormatBitmap = 2;        // CF_BITMAP
inline constexpr unsigned kFormatMetafilePict = 3;  // CF_METAFILEPICT
inline constexpr unsigned kFormatOemText = 7;       // CF_OEMTEXT
inline constexpr unsigned kFormatEnhMetafile = 14;  // CF_ENHMETAFILE

// Which formats the clipboard offers, those the system would synthesise included.
class ClipboardFormats {
public:
    virtual ~ClipboardFormats() = default;
    virtual bool IsAvailable(unsigned format) const = 0;
};

// The first kind the clipboard holds, tested Text, Image, Clipart, SuperClipart; none: nothing.
std::optional<ClipKind> ChooseClipKind(const ClipboardFormats& formats);

// The file name's prefix; Text items take `textPrefix`, the active language's word for text.
std::string ClipKindPrefix(ClipKind kind, std::string_view textPrefix);

// The file name's extension, with its dot: ".txt", ".bmp", ".wmf", ".emf".
std::string_view ClipKindExtension(ClipKind kind);

}  // namespace tessera
