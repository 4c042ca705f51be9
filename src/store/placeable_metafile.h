#pragma once
// The header that lets picture readers place a Windows metafile on the page.
#include <string>

namespace tessera {

inline constexpr std::size_t kPlaceableHeaderSize = 22;

// The header for a picture of xExt × yExt hundredths of a millimetre (as a clipboard picture
// gives its size; negative: a suggested size; zero: none): key, bounding box, units per inch,
// checksum, little-endian.
std::string PlaceableMetafileHeader(int xExt, int yExt);

}  // namespace tessera
