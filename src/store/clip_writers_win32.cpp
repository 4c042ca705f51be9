#include "store/clip_writers_win32.h"

#include <richedit.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>

#include "store/placeable_metafile.h"
#include "win/clipboard.h"
#include "win/last_error.h"
#include "win/rich_edit.h"
#include "win/unique_handle.h"

namespace tessera {
namespace {

// A hidden rich-edit control of its own for one capture. Plain text takes the dialogs' font (the
// control's own default is the bold system font, which would make every plain item bold). The
// largest text limit lets an item be as long as what was copied; undo is off so that a large
// paste keeps no second copy; lines are not wrapped, as the text is never shown and wrapping long
// lines costs more than the paste.
// A hidden child of `owner` is made and destroyed faster than a message-only window.
win::unique_hwnd NewPasteTarget(HWND owner) {
    win::LoadRichEdit();
    win::unique_hwnd edit(::CreateWindowExW(WS_EX_NOPARENTNOTIFY, RICHEDIT_CLASSW, L"",
                                            (owner ? WS_CHILD : 0) | ES_MULTILINE, 0, 0, 0, 0,
                                            owner ? owner : HWND_MESSAGE, nullptr, nullptr, nullptr));
    if (!edit) win::ThrowLastError("CreateWindowExW");
    ::SendMessageW(edit.get(), WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    ::SendMessageW(edit.get(), EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
    ::SendMessageW(edit.get(), EM_SETUNDOLIMIT, 0, 0);
    ::SendMessageW(edit.get(), EM_SETTARGETDEVICE, 0, 1);
    return edit;
}

// 1, 4, 8, 24 and 32 bits per pixel are kept; other depths (16, 15) are written as 24, which
// every reader takes without colour masks.
WORD FileBitsPerPixel(const BITMAP& bitmap) {
    const int bits = bitmap.bmBitsPixel * bitmap.bmPlanes;
    return bits == 1 || bits == 4 || bits == 8 || bits == 24 || bits == 32 ? static_cast<WORD>(bits) : 24;
}

// A whole .bmp file in memory: file header, information header, colour table, pixels.
std::optional<std::string> ReadBitmapFile(HBITMAP bitmap) {
    BITMAP object{};
    if (::GetObjectW(bitmap, sizeof object, &object) != sizeof object || object.bmWidth <= 0 || object.bmHeight <= 0)
        return std::nullopt;
    const WORD bits = FileBitsPerPixel(object);
    const std::uint64_t stride = (std::uint64_t{static_cast<std::uint32_t>(object.bmWidth)} * bits + 31) / 32 * 4;
    const std::uint64_t pixelBytes = stride * static_cast<std::uint32_t>(object.bmHeight);
    const DWORD colours = bits <= 8 ? 1u << bits : 0;
    const std::uint64_t offset = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + colours * sizeof(RGBQUAD);
    if (offset + pixelBytes > MAXDWORD) return std::nullopt;  // beyond what a .bmp file can say

    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[256];
    } info{};
    info.header.biSize = sizeof info.header;
    info.header.biWidth = object.bmWidth;
    info.header.biHeight = object.bmHeight;  // bottom-up, as files usually are
    info.header.biPlanes = 1;
    info.header.biBitCount = bits;
    info.header.biCompression = BI_RGB;

    std::string file(static_cast<std::size_t>(offset + pixelBytes), '\0');
    const win::window_dc screen(nullptr);
    if (::GetDIBits(screen.get(), bitmap, 0, static_cast<UINT>(object.bmHeight), file.data() + offset,
                    reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS) != object.bmHeight)
        return std::nullopt;

    // GetDIBits may have filled in or changed counts: the file states its own.
    info.header.biSizeImage = static_cast<DWORD>(pixelBytes);
    info.header.biClrUsed = colours;
    info.header.biClrImportant = 0;
    BITMAPFILEHEADER fileHeader{};
    fileHeader.bfType = 0x4D42;  // "BM"
    fileHeader.bfSize = static_cast<DWORD>(file.size());
    fileHeader.bfOffBits = static_cast<DWORD>(offset);
    char* out = file.data();
    std::memcpy(out, &fileHeader, sizeof fileHeader);
    std::memcpy(out + sizeof fileHeader, &info.header, sizeof info.header);
    std::memcpy(out + sizeof fileHeader + sizeof info.header, info.colours, colours * sizeof(RGBQUAD));
    return file;
}

// The picture's bytes with the placeable header in front, or nothing when the metafile is unreadable.
std::optional<std::string> ReadPlaceableMetafile(const METAFILEPICT& picture) {
    const UINT size = ::GetMetaFileBitsEx(picture.hMF, 0, nullptr);
    if (size == 0) return std::nullopt;
    std::string bytes = PlaceableMetafileHeader(picture.xExt, picture.yExt);
    bytes.resize(kPlaceableHeaderSize + size);
    if (::GetMetaFileBitsEx(picture.hMF, size, bytes.data() + kPlaceableHeaderSize) != size) return std::nullopt;
    return bytes;
}

// A writer's results.
ClipFileContent Ready(std::string bytes) { return {ClipFileContent::Status::Ready, std::move(bytes)}; }
ClipFileContent Gone() { return {ClipFileContent::Status::FormatGone, {}}; }
ClipFileContent Unreadable() { return {ClipFileContent::Status::Unreadable, {}}; }

// The clipboard's data in `format` made into a file's bytes by `toFile`, with the clipboard open
// only for that: the file is written after it is closed again.
template <typename ToFile>
ClipFileContent ReadFormat(HWND owner, UINT format, ToFile toFile) {
    if (!::IsClipboardFormatAvailable(format)) return Gone();
    const win::ClipboardScope open(owner);
    const HANDLE data = ::GetClipboardData(format);
    if (!data) return Gone();
    std::optional<std::string> bytes = toFile(data);
    return bytes ? Ready(std::move(*bytes)) : Unreadable();
}

// The open clipboard's rich text up to its terminating NUL, when it is RTF.
std::optional<std::string> ClipboardRichText() {
    const win::global_lock<char> rtf(::GetClipboardData(win::RichTextClipboardFormat()));
    if (!rtf) return std::nullopt;
    std::string bytes(rtf.get(), std::find(rtf.get(), rtf.get() + rtf.size(), '\0'));
    if (bytes.compare(0, 5, "{\\rtf") != 0) return std::nullopt;
    return bytes;
}

}  // namespace

// Rich text ("Rich Text Format" on the clipboard) is kept as the copying program gave it: a
// paste into a control would add the control's own closing paragraph to the copied ones (the
// item would gain an empty line at every capture, and take time that grows with the text).
// Plain text is handed to a fresh control whole, which streams it out as rich text: Wine's own
// paste passes long plain text on in pieces and adds an empty line wherever a CR LF falls across
// two of them. The control is a new one each time: it carries no formatting over from the
// previous capture, and destroying a large text is quick where deleting it is not.
ClipFileContent SaveTextClip(HWND owner) {
    if (!::IsClipboardFormatAvailable(CF_TEXT) && !::IsClipboardFormatAvailable(CF_OEMTEXT)) return Gone();
    std::optional<std::string> rtf;
    std::wstring text;
    {
        const win::ClipboardScope open(owner);
        rtf = ClipboardRichText();
        if (!rtf) text = win::ClipboardUnicodeText();
    }
    if (rtf) return Ready(std::move(*rtf));
    const win::unique_hwnd edit = NewPasteTarget(owner);
    if (!win::StreamInPlainText(edit.get(), text)) return Unreadable();
    rtf = win::StreamOutRtf(edit.get());
    return rtf ? Ready(std::move(*rtf)) : Unreadable();
}

ClipFileContent SaveBitmapClip(HWND owner) {
    return ReadFormat(owner, CF_BITMAP, [](HANDLE data) { return ReadBitmapFile(static_cast<HBITMAP>(data)); });
}

// The file gets the placeable header before the metafile's own bytes: a plain metafile carries
// no size, and picture readers (the chooser's preview among them) open a .wmf only with it.
ClipFileContent SaveMetafileClip(HWND owner) {
    return ReadFormat(owner, CF_METAFILEPICT, [](HANDLE data) -> std::optional<std::string> {
        const win::global_lock<METAFILEPICT> picture(data);
        if (!picture || picture.size() < sizeof(METAFILEPICT)) return std::nullopt;
        return ReadPlaceableMetafile(*picture.get());
    });
}

// An .emf file holds exactly the metafile's bits.
ClipFileContent SaveEnhMetafileClip(HWND owner) {
    return ReadFormat(owner, CF_ENHMETAFILE, [](HANDLE data) -> std::optional<std::string> {
        const auto source = static_cast<HENHMETAFILE>(data);
        const UINT size = ::GetEnhMetaFileBits(source, 0, nullptr);
        std::string bytes(size, '\0');
        if (size == 0 || ::GetEnhMetaFileBits(source, size, reinterpret_cast<BYTE*>(bytes.data())) != size)
            return std::nullopt;
        return bytes;
    });
}

ClipFileContent Win32ClipWriter::Read(ClipKind kind) {
    switch (kind) {
    case ClipKind::Text: return SaveTextClip(owner_);
    case ClipKind::Image: return SaveBitmapClip(owner_);
    case ClipKind::Clipart: return SaveMetafileClip(owner_);
    case ClipKind::SuperClipart: return SaveEnhMetafileClip(owner_);
    }
    return Gone();
}

}  // namespace tessera
