// Reading the viewer's own clipboard data: icon file images and components.
#include <gtest/gtest.h>

#include <cstdint>
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

TEST(ComponentToText, SplitsTheDataIntoLinesAndStopsAtTheFirstNul) {
    const std::string block("object Button1: TButton\r\n  Caption = 'OK'\nend\r\n\0\0garbage", 56);
    EXPECT_EQ(ComponentToText(block), (std::vector<std::string>{"object Button1: TButton", "  Caption = 'OK'", "end"}));
    EXPECT_EQ(ComponentToText("a\r\rb"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_TRUE(ComponentToText(std::string("\0x", 2)).empty());
}

}  // namespace
}  // namespace tessera
