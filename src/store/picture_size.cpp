#include "store/picture_size.h"

#include <cstdint>
#include <cstdlib>

#include "text/ascii.h"

namespace tessera {
namespace {

// Little-endian fields, as every Windows picture file stores them.
std::uint32_t U16(std::string_view b, std::size_t at) {
    return static_cast<unsigned char>(b[at]) | static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8;
}
std::uint32_t U32(std::string_view b, std::size_t at) { return U16(b, at) | U16(b, at + 2) << 16; }
std::int64_t S16(std::string_view b, std::size_t at) { return static_cast<std::int16_t>(U16(b, at)); }
std::int64_t S32(std::string_view b, std::size_t at) { return static_cast<std::int32_t>(U32(b, at)); }

std::string_view Extension(std::string_view fileName) {
    const std::size_t dot = fileName.rfind('.');
    return dot == std::string_view::npos ? std::string_view() : fileName.substr(dot);
}

std::optional<std::string> SizeText(std::int64_t width, std::int64_t height) {
    if (width <= 0 || height <= 0) return std::nullopt;
    return std::to_string(width) + " \xC3\x97 " + std::to_string(height);
}

// Units of `perInch` to the pixels of a 96-DPI screen, rounded.
std::int64_t Pixels(std::int64_t units, std::int64_t perInch) { return (std::llabs(units) * 96 + perInch / 2) / perInch; }

}  // namespace

// A bitmap file: its info header's width and height (a negative height is a top-down bitmap;
// a 12-byte core header has 16-bit ones). An enhanced metafile: its frame, in hundredths of a
// millimetre. A Windows metafile: the bounding box of its placeable header, in units per inch.
std::optional<std::string> PictureSizeText(std::string_view fileName, std::string_view head) {
    const std::string_view ext = Extension(fileName);
    if (EqualsIgnoringCase(ext, ".bmp")) {
        if (head.size() < 26 || head.substr(0, 2) != "BM") return std::nullopt;
        if (U32(head, 14) == 12) return SizeText(U16(head, 18), U16(head, 20));
        return SizeText(S32(head, 18), std::llabs(S32(head, 22)));
    }
    if (EqualsIgnoringCase(ext, ".emf")) {
        if (head.size() < 44 || U32(head, 0) != 1 || head.substr(40, 4) != " EMF") return std::nullopt;
        return SizeText(Pixels(S32(head, 32) - S32(head, 24), 2540), Pixels(S32(head, 36) - S32(head, 28), 2540));
    }
    if (EqualsIgnoringCase(ext, ".wmf")) {
        if (head.size() < 16 || U32(head, 0) != 0x9AC6CDD7u || U16(head, 14) == 0) return std::nullopt;
        const std::int64_t inch = U16(head, 14);
        return SizeText(Pixels(S16(head, 10) - S16(head, 6), inch), Pixels(S16(head, 12) - S16(head, 8), inch));
    }
    return std::nullopt;
}

}  // namespace tessera
