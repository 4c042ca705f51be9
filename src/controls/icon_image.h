#pragma once
// Finding the image to show in an icon file image (icon header, directory, images).
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace tessera {

// Where one image of the icon lies in the block, and its size in pixels.
struct IconImageRef {
    std::size_t offset = 0;
    std::size_t size = 0;
    int width = 0;
    int height = 0;
};

// The first image of the directory, or nothing when the block is no icon file image or the
// image lies outside the block.
std::optional<IconImageRef> FindIconImage(std::span<const std::uint8_t> block);
// The image nearest to `size` pixels square: of that width, else the smallest wider one (scaled
// down it stays sharp), else the widest. Images outside the block are passed over.
std::optional<IconImageRef> FindIconImage(std::span<const std::uint8_t> block, int size);

}  // namespace tessera
