// Reading the viewer's own clipboard data: icon file images and components.
#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "controls/component_text.h"
#include "controls/icon_image.h"

namespace tessera {
namespace {

// An icon file image's header and one directory entry, then `imageSize` bytes of image.
std::vector<std::uint8_t> IconFile(std::uint8_t width, std::uint8_t height, std::uint32_t imageSize,
                                   std::uint32_t offset = 22, std::uint16_t type = 1) {
    std::vector<std::uint8_t> b{0, 0, static_cast<std::uint8_t>(type), 0, 1, 0, width, height, 0, 0, 1, 0, 32, 0};
    for (std::uint32_t v : {imageSize, offset})
        for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    b.resize(b.size() + imageSize, 0xAB);
    return b;
}

TEST(IconImage, FindsTheFirstImageInsideTheBlock) {
    auto block = IconFile(16, 32, 40);
    auto image = FindIconImage(block);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->offset, 22u);
    EXPECT_EQ(image->size, 40u);
    EXPECT_EQ(image->width, 16);
    EXPECT_EQ(image->height, 32);

    block.resize(block.size() + 10);  // the clipboard rounds blocks up
    EXPECT_TRUE(FindIconImage(block));

    image = FindIconImage(IconFile(0, 0, 8));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 256);
    EXPECT_EQ(image->height, 256);
}

TEST(IconImage, RefusesBlocksThatAreNoIconOrPointOutside) {
    EXPECT_FALSE(FindIconImage({}));
    EXPECT_FALSE(FindIconImage(IconFile(16, 16, 40, 22, 2)));  // a cursor file
    auto truncated = IconFile(16, 16, 40);
    truncated.resize(truncated.size() - 1);
    EXPECT_FALSE(FindIconImage(truncated));
    EXPECT_FALSE(FindIconImage(IconFile(16, 16, 0)));
    EXPECT_FALSE(FindIconImage(IconFile(16, 16, 40, 0xFFFFFFF0u)));
    auto noImages = IconFile(16, 16, 40);
    noImages[4] = 0;
    EXPECT_FALSE(FindIconImage(noImages));
}

// An icon file image with one 8-byte image per width in `widths`, in that order.
std::vector<std::uint8_t> MultiSizeIconFile(std::initializer_list<std::uint8_t> widths) {
    const auto count = static_cast<std::uint8_t>(widths.size());
    std::vector<std::uint8_t> b{0, 0, 1, 0, count, 0};
    std::uint32_t offset = 6 + 16u * count;
    for (std::uint8_t w : widths) {
        b.insert(b.end(), {w, w, 0, 0, 1, 0, 32, 0, 8, 0, 0, 0});
        for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(offset >> (8 * i)));
        offset += 8;
    }
    b.resize(offset, 0xAB);
    return b;
}

// The image for a size: that size, else the nearest larger (shrunk, it stays sharp), else the largest.
TEST(IconImage, TakesTheImageNearestToTheSizeShown) {
    const auto block = MultiSizeIconFile({32, 16, 48, 24});
    auto widthFor = [&](int size) { return FindIconImage(block, size).value_or(IconImageRef{}).width; };
    EXPECT_EQ(widthFor(16), 16);
    EXPECT_EQ(widthFor(20), 24);
    EXPECT_EQ(widthFor(40), 48);
    EXPECT_EQ(widthFor(64), 48);
    EXPECT_EQ(widthFor(8), 16);
    EXPECT_EQ(FindIconImage(block)->width, 32) << "without a size, the first image";

    auto truncated = block;
    truncated.resize(truncated.size() - 1);  // the last image, 24, lies partly outside
    EXPECT_EQ(FindIconImage(truncated, 20)->width, 32);
    EXPECT_FALSE(FindIconImage(IconFile(16, 16, 40, 22, 2), 16)) << "a cursor file";
}

TEST(ComponentToText, SplitsTheDataIntoLinesAndStopsAtTheFirstNul) {
    const std::string block("object Button1: TButton\r\n  Caption = 'OK'\nend\r\n\0\0garbage", 56);
    EXPECT_EQ(ComponentToText(block), (std::vector<std::string>{"object Button1: TButton", "  Caption = 'OK'", "end"}));
    EXPECT_EQ(ComponentToText("a\r\rb"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_TRUE(ComponentToText(std::string("\0x", 2)).empty());
}

}  // namespace
}  // namespace tessera
