// The header that places a saved metafile on the page.
#include "store/placeable_metafile.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>

namespace tessera {
namespace {

std::uint16_t Word(const std::string& bytes, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1])
                                                                                  << 8);
}

// Wide or tall, up to thirty metres, its size given or only suggested (negative): the box fits
// 16 bits and the picture keeps its inches.
TEST(PlaceableMetafile, PicturesOfEveryShapeKeepTheirSize) {
    for (const auto& [x, y] : {std::pair{100000, 50000}, {50000, 100000}, {1, 3000000}, {-3000000, -1}}) {
        const std::string header = PlaceableMetafileHeader(x, y);
        const double unitsPerInch = Word(header, 14);
        EXPECT_NEAR(Word(header, 10) / unitsPerInch, std::abs(x) / 2540.0, 0.1) << x << " x " << y;
        EXPECT_NEAR(Word(header, 12) / unitsPerInch, std::abs(y) / 2540.0, 0.1) << x << " x " << y;
    }
}

}  // namespace
}  // namespace tessera
