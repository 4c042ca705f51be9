#pragma once
// The size of a picture item, read from the first bytes of its file, for the chooser's list.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tessera {

// The bytes of a picture file's start that hold its size.
inline constexpr std::size_t kPictureHeadBytes = 64;

// "1920 × 1080" (UTF-8): a bitmap's pixels, a metafile's frame in pixels at 100 %; nothing for a
// text item, a metafile without a size (no placeable header) or a head that is not a picture's.
std::optional<std::string> PictureSizeText(std::string_view fileName, std::string_view head);

}  // namespace tessera
