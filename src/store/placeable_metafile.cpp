#include "store/placeable_metafile.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace tessera {
namespace {

constexpr std::uint32_t kKey = 0x9AC6CDD7;
constexpr std::int64_t kHundredthsOfMmPerInch = 2540;
constexpr std::int64_t kLargestCoordinate = 32767;

void AppendWord(std::string& out, std::uint16_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>(value >> 8);
}

void AppendDword(std::string& out, std::uint32_t value) {
    AppendWord(out, static_cast<std::uint16_t>(value & 0xFFFF));
    AppendWord(out, static_cast<std::uint16_t>(value >> 16));
}

// A picture without a size of its own is shown an inch wide.
std::int64_t SizeOf(int extent) {
    const std::int64_t size = std::llabs(extent);
    return size == 0 ? kHundredthsOfMmPerInch : size;
}

}  // namespace

// The box is given in hundredths of a millimetre, 2540 to the inch, while that fits the header's
// 16-bit coordinates; larger pictures use coarser units, halving them until the box fits. The
// checksum is the XOR of the ten 16-bit words before it.
std::string PlaceableMetafileHeader(int xExt, int yExt) {
    const std::int64_t width = SizeOf(xExt);
    const std::int64_t height = SizeOf(yExt);
    std::int64_t unitsPerInch = kHundredthsOfMmPerInch;
    auto scaled = [&](std::int64_t size) { return size * unitsPerInch / kHundredthsOfMmPerInch; };
    while (unitsPerInch > 1 && (scaled(width) > kLargestCoordinate || scaled(height) > kLargestCoordinate))
        unitsPerInch /= 2;

    std::string header;
    header.reserve(kPlaceableHeaderSize);
    AppendDword(header, kKey);
    AppendWord(header, 0);  // no metafile handle on disk
    AppendWord(header, 0);  // left
    AppendWord(header, 0);  // top
    AppendWord(header, static_cast<std::uint16_t>(std::clamp<std::int64_t>(scaled(width), 1, kLargestCoordinate)));
    AppendWord(header, static_cast<std::uint16_t>(std::clamp<std::int64_t>(scaled(height), 1, kLargestCoordinate)));
    AppendWord(header, static_cast<std::uint16_t>(unitsPerInch));
    AppendDword(header, 0);  // reserved

    std::uint16_t checksum = 0;
    for (std::size_t i = 0; i < header.size(); i += 2)
        checksum ^= static_cast<std::uint16_t>(static_cast<unsigned char>(header[i]) |
                                               static_cast<unsigned char>(header[i + 1]) << 8);
    AppendWord(header, checksum);
    return header;
}

}  // namespace tessera
