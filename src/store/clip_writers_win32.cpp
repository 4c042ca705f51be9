#include "store/clip_writers_win32.h"

#include <richedit.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>

#include "store/clip_file_win32.h"
#include "store/placeable_metafile.h"
#include "win/clipboard.h"
#include "win/last_error.h"
#include "win/rich_edit.h"
#include "win/system_libraries.h"
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
    static const HMODULE library = win::LoadSystemLibrary(L"riched20.dll");
    (void)library;
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

// A whole .bmp file in memory: file header, information header, colour table, pixels.
struct BitmapFileImage {
    std::unique_ptr<BYTE[]> bytes;
    std::size_t size = 0;
};

// 1, 4, 8, 24 and 32 bits per pixel are kept; other depths (16, 15) are written as 24, which
// every reader takes without colour masks.
WORD FileBitsPerPixel(const BITMAP& bitmap) {
    const int bits = bitmap.bmBitsPixel * bitmap.bmPlanes;
    return bits == 1 || bits == 4 || bits == 8 || bits == 24 || bits == 32 ? static_cast<WORD>(bits) : 24;
}

std::optional<BitmapFileImage> ReadBitmapFile(HBITMAP bitmap) {
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

    const auto fileSize = static_cast<std::size_t>(offset + pixelBytes);
    BitmapFileImage file{std::make_unique_for_overwrite<BYTE[]>(fileSize), fileSize};
    const win::window_dc screen(nullptr);
    if (::GetDIBits(screen.get(), bitmap, 0, static_cast<UINT>(object.bmHeight), file.bytes.get() + offset,
                    reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS) != object.bmHeight)
        return std::nullopt;

    // GetDIBits may have filled in or changed counts: the file states its own.
    info.header.biSizeImage = static_cast<DWORD>(pixelBytes);
    info.header.biClrUsed = colours;
    info.header.biClrImportant = 0;
    BITMAPFILEHEADER fileHeader{};
    fileHeader.bfType = 0x4D42;  // "BM"
    fileHeader.bfSize = static_cast<DWORD>(file.size);
    fileHeader.bfOffBits = static_cast<DWORD>(offset);
    BYTE* out = file.bytes.get();
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

void WriteWholeFile(const std::string& path, const void* data, std::size_t size) {
    NewClipFile file(path);
    file.Write(data, size);
    file.Close();
}

}  // namespace

// Rich text ("Rich Text Format" on the clipboard) goes in through the control's own paste, as a
// user's paste into it would: it opens the clipboard itself for that, so the clipboard must be
// free then; opening it through the scope first waits out a program that holds it for a moment,
// and reports it as the other writers do. Plain text is read here and handed to the control
// whole: Wine's paste passes long plain text on in pieces and adds an empty line wherever a
// CR LF falls across two of them. Into a fresh control both give what a paste gives.
// The control is a new one each time rather than one kept empty between captures: a fresh control
// carries no formatting over from the previous paste, and destroying a large text is quick where
// deleting it is not (Wine's control takes time that grows with the square of the text's length).
void SaveTextClip(HWND owner, const std::string& path) {
    if (!::IsClipboardFormatAvailable(CF_TEXT) && !::IsClipboardFormatAvailable(CF_OEMTEXT)) return;
    std::optional<std::string> rtf;
    {
        const win::unique_hwnd edit = NewPasteTarget(owner);
        if (::IsClipboardFormatAvailable(win::RichTextClipboardFormat())) {
            { const win::ClipboardScope waitUntilFree(owner); }
            ::SendMessageW(edit.get(), WM_PASTE, 0, 0);
        } else {
            std::wstring text;
            {
                const win::ClipboardScope open(owner);
                text = win::ClipboardUnicodeText();
            }
            if (!win::StreamInPlainText(edit.get(), text)) ThrowCannotCreate(path);
        }
        rtf = win::StreamOutRtf(edit.get());
    }
    if (!rtf) ThrowCannotCreate(path);
    WriteWholeFile(path, rtf->data(), rtf->size());
}

// The pixels are read while the clipboard is open and written after it is closed again, so
// that the clipboard is not held during the file write.
void SaveBitmapClip(HWND owner, const std::string& path) {
    if (!::IsClipboardFormatAvailable(CF_BITMAP)) return;
    std::optional<BitmapFileImage> file;
    {
        const win::ClipboardScope open(owner);
        const auto bitmap = static_cast<HBITMAP>(::GetClipboardData(CF_BITMAP));
        if (!bitmap) return;
        file = ReadBitmapFile(bitmap);
    }
    if (!file) ThrowCannotCreate(path);
    WriteWholeFile(path, file->bytes.get(), file->size);
}

// The file gets the placeable header before the metafile's own bytes: a plain metafile carries
// no size, and picture readers (the chooser's preview among them) open a .wmf only with it.
void SaveMetafileClip(HWND owner, const std::string& path) {
    if (!::IsClipboardFormatAvailable(CF_METAFILEPICT)) return;
    std::optional<std::string> bytes;
    {
        const win::ClipboardScope open(owner);
        const HGLOBAL data = ::GetClipboardData(CF_METAFILEPICT);
        if (!data) return;
        const win::global_lock<METAFILEPICT> picture(data);
        if (picture && picture.size() >= sizeof(METAFILEPICT)) bytes = ReadPlaceableMetafile(*picture.get());
    }
    if (!bytes) ThrowCannotCreate(path);
    WriteWholeFile(path, bytes->data(), bytes->size());
}

void SaveEnhMetafileClip(HWND owner, const std::string& path) {
    if (!::IsClipboardFormatAvailable(CF_ENHMETAFILE)) return;
    const win::ClipboardScope open(owner);
    const auto source = static_cast<HENHMETAFILE>(::GetClipboardData(CF_ENHMETAFILE));
    if (!source) return;
    const win::unique_henhmetafile copy(::CopyEnhMetaFileA(source, path.c_str()));
    if (!copy) ThrowCannotCreate(path);
}

void Win32ClipWriter::Write(ClipKind kind, const std::string& path) {
    switch (kind) {
    case ClipKind::Text: SaveTextClip(owner_, path); return;
    case ClipKind::Image: SaveBitmapClip(owner_, path); return;
    case ClipKind::Clipart: SaveMetafileClip(owner_, path); return;
    case ClipKind::SuperClipart: SaveEnhMetafileClip(owner_, path); return;
    }
}

}  // namespace tessera
