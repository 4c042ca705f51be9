#pragma once
// The viewer's view formats and the clipboard format each stands for.
#include <cstdint>

namespace tessera {

// A clipboard format number as the clipboard functions take it.
using ClipboardFormat = unsigned;

// The standard formats the viewer knows, by their system numbers.
namespace clipboard_format {
inline constexpr ClipboardFormat kNone = 0;  // never available
inline constexpr ClipboardFormat kText = 1;
inline constexpr ClipboardFormat kBitmap = 2;
inline constexpr ClipboardFormat kMetafilePict = 3;
inline constexpr ClipboardFormat kOemText = 7;
inline constexpr ClipboardFormat kPalette = 9;
inline constexpr ClipboardFormat kEnhMetafile = 14;
}  // namespace clipboard_format

// The three formats the program registers by name at start; 0 until registered.
struct RegisteredFormats {
    ClipboardFormat picture = 0;
    ClipboardFormat component = 0;
    ClipboardFormat icon = 0;
};

// What the viewer shows; cvDefault lets the clipboard's content decide. The order is fixed.
enum TClipboardViewFormat : std::uint8_t {
    cvDefault,
    cvEmpty,
    cvUnknown,
    cvText,
    cvBitmap,
    cvMetafile,
    cvPalette,
    cvOemText,
    cvPicture,
    cvComponent,
    cvIcon,
};

// The kind of child window that shows a view format.
enum class ViewKind { Text, Picture, Palette, Component };

// The clipboard format of `v`; the low seven bits select the row, and rows past cvIcon give kNone.
ClipboardFormat ViewFormatToClipboardFormat(TClipboardViewFormat v, const RegisteredFormats& registered);

ViewKind ViewKindOf(TClipboardViewFormat v);

}  // namespace tessera
