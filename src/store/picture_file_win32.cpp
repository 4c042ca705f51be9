#include "store/picture_file_win32.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "store/placeable_metafile.h"
#include "text/ascii.h"

namespace tessera {
namespace {

std::string UpperExtension(std::string_view fileName) {
    const std::size_t dot = fileName.find_last_of('.');
    return UpperAscii(dot == std::string_view::npos ? std::string_view{} : fileName.substr(dot));
}

template <typename T>
T ReadAt(std::string_view bytes, std::size_t at) {
    T value{};
    std::memcpy(&value, bytes.data() + at, sizeof value);
    return value;
}

// A palette of the bitmap's colour table, for displays and programs that draw with one.
win::unique_hpalette PaletteOf(const RGBQUAD* colours, std::size_t count) {
    if (count == 0) return {};
    std::vector<BYTE> storage(sizeof(LOGPALETTE) + count * sizeof(PALETTEENTRY));
    auto* palette = reinterpret_cast<LOGPALETTE*>(storage.data());
    palette->palVersion = 0x300;
    palette->palNumEntries = static_cast<WORD>(count);
    for (std::size_t i = 0; i < count; ++i)
        palette->palPalEntry[i] = {colours[i].rgbRed, colours[i].rgbGreen, colours[i].rgbBlue, 0};
    return win::unique_hpalette(::CreatePalette(palette));
}

// Every size is checked against the file before the system reads a byte of it: a damaged file
// gives no picture, never a read past its end.
std::optional<win::Picture> BitmapFromBytes(std::string_view bytes) {
    constexpr std::size_t kFileHeader = sizeof(BITMAPFILEHEADER);
    if (bytes.size() < kFileHeader + sizeof(BITMAPINFOHEADER) || bytes[0] != 'B' || bytes[1] != 'M') return {};
    const auto file = ReadAt<BITMAPFILEHEADER>(bytes, 0);
    const auto info = ReadAt<BITMAPINFOHEADER>(bytes, kFileHeader);
    if (info.biSize < sizeof(BITMAPINFOHEADER) || info.biSize > bytes.size() - kFileHeader) return {};
    if (info.biWidth <= 0 || info.biHeight == 0 || info.biHeight == INT32_MIN || info.biPlanes != 1) return {};
    const WORD bits = info.biBitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return {};
    if (info.biCompression != BI_RGB && info.biCompression != BI_BITFIELDS) return {};
    if (info.biClrUsed > 256) return {};

    const std::size_t colours = info.biClrUsed ? info.biClrUsed : (bits <= 8 ? std::size_t{1} << bits : 0);
    const std::size_t masks = info.biCompression == BI_BITFIELDS && info.biSize == sizeof(BITMAPINFOHEADER) ? 12 : 0;
    const std::size_t tableEnd = kFileHeader + info.biSize + masks + colours * sizeof(RGBQUAD);
    const uint64_t stride = ((uint64_t(info.biWidth) * bits + 31) / 32) * 4;
    const uint64_t imageSize = stride * uint64_t(info.biHeight < 0 ? -int64_t(info.biHeight) : info.biHeight);
    if (tableEnd > bytes.size() || file.bfOffBits > bytes.size() || imageSize > bytes.size() - file.bfOffBits)
        return {};

    const auto* header = reinterpret_cast<const BITMAPINFO*>(bytes.data() + kFileHeader);
    void* pixels = nullptr;
    win::unique_hbitmap bitmap(::CreateDIBSection(nullptr, header, DIB_RGB_COLORS, &pixels, nullptr, 0));
    if (!bitmap || !pixels) return {};
    std::memcpy(pixels, bytes.data() + file.bfOffBits, static_cast<std::size_t>(imageSize));
    ::GdiFlush();

    win::Picture picture;
    picture.bitmap = std::move(bitmap);
    if (bits <= 8)
        picture.palette =
            PaletteOf(reinterpret_cast<const RGBQUAD*>(bytes.data() + kFileHeader + info.biSize + masks), colours);
    return picture;
}

constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;

// The records of a Windows metafile start with a header that gives its own size and the whole
// file's in 16-bit words.
bool IsWholeMetafile(std::string_view records) {
    if (records.size() < sizeof(METAHEADER)) return false;
    const auto header = ReadAt<METAHEADER>(records, 0);
    return (header.mtType == 1 || header.mtType == 2) && header.mtHeaderSize == sizeof(METAHEADER) / 2 &&
           uint64_t(header.mtSize) * 2 <= records.size() && uint64_t(header.mtSize) * 2 >= sizeof(METAHEADER);
}

std::optional<win::Picture> MetafileFromBytes(std::string_view bytes) {
    METAFILEPICT size{MM_ANISOTROPIC, 0, 0, nullptr};
    const METAFILEPICT* sizePointer = nullptr;
    if (bytes.size() >= kPlaceableHeaderSize && ReadAt<uint32_t>(bytes, 0) == kPlaceableKey) {
        // Left, top, right, bottom in metafile units, then the units per inch.
        const int width = ReadAt<int16_t>(bytes, 10) - ReadAt<int16_t>(bytes, 6);
        const int height = ReadAt<int16_t>(bytes, 12) - ReadAt<int16_t>(bytes, 8);
        const int inch = ReadAt<uint16_t>(bytes, 14);
        if (inch > 0 && width > 0 && height > 0) {
            size.xExt = ::MulDiv(width, 2540, inch);
            size.yExt = ::MulDiv(height, 2540, inch);
            sizePointer = &size;
        }
        bytes.remove_prefix(kPlaceableHeaderSize);
    }
    if (!IsWholeMetafile(bytes)) return {};
    const UINT length = ReadAt<METAHEADER>(bytes, 0).mtSize * 2;
    win::Picture picture;
    picture.metafile.reset(
        ::SetWinMetaFileBits(length, reinterpret_cast<const BYTE*>(bytes.data()), nullptr, sizePointer));
    if (!picture.metafile) return {};
    return picture;
}

std::optional<win::Picture> EnhMetafileFromBytes(std::string_view bytes) {
    if (bytes.size() < sizeof(ENHMETAHEADER)) return {};
    const auto header = ReadAt<ENHMETAHEADER>(bytes, 0);
    if (header.iType != EMR_HEADER || header.dSignature != ENHMETA_SIGNATURE || header.nBytes > bytes.size() ||
        header.nBytes < sizeof(ENHMETAHEADER))
        return {};
    win::Picture picture;
    picture.metafile.reset(::SetEnhMetaFileBits(header.nBytes, reinterpret_cast<const BYTE*>(bytes.data())));
    if (!picture.metafile) return {};
    return picture;
}

}  // namespace

std::optional<win::Picture> PictureFromFileBytes(std::string_view fileName, std::string_view bytes) {
    const std::string ext = UpperExtension(fileName);
    if (ext == ".BMP") return BitmapFromBytes(bytes);
    if (ext == ".WMF") return MetafileFromBytes(bytes);
    if (ext == ".EMF") return EnhMetafileFromBytes(bytes);
    return {};
}

}  // namespace tessera
