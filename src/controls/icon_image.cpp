#include "controls/icon_image.h"

namespace tessera {
namespace {

constexpr std::size_t kHeaderSize = 6;
constexpr std::size_t kEntrySize = 16;

std::uint16_t Word(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

std::uint32_t Dword(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint32_t>(Word(b, at)) | (static_cast<std::uint32_t>(Word(b, at + 2)) << 16);
}

// The directory entry `index`, when the block holds it and the image it points to.
std::optional<IconImageRef> EntryAt(std::span<const std::uint8_t> block, std::size_t index) {
    const std::size_t entry = kHeaderSize + index * kEntrySize;
    if (block.size() < entry + kEntrySize) return std::nullopt;
    const std::size_t size = Dword(block, entry + 8);
    const std::size_t offset = Dword(block, entry + 12);
    if (size == 0 || offset > block.size() || size > block.size() - offset) return std::nullopt;
    IconImageRef ref;
    ref.offset = offset;
    ref.size = size;
    // A width or height of 0 in the directory means 256.
    ref.width = block[entry] == 0 ? 256 : block[entry];
    ref.height = block[entry + 1] == 0 ? 256 : block[entry + 1];
    return ref;
}

bool IsIconFile(std::span<const std::uint8_t> block) {
    // The clipboard's block may be longer than the data (the allocator rounds up), never shorter.
    return block.size() >= kHeaderSize + kEntrySize && Word(block, 0) == 0 && Word(block, 2) == 1 &&
           Word(block, 4) != 0;
}

}  // namespace

std::optional<IconImageRef> FindIconImage(std::span<const std::uint8_t> block) {
    if (!IsIconFile(block)) return std::nullopt;
    return EntryAt(block, 0);
}

std::optional<IconImageRef> FindIconImage(std::span<const std::uint8_t> block, int size) {
    if (!IsIconFile(block)) return std::nullopt;
    std::optional<IconImageRef> best;
    auto better = [size](const IconImageRef& a, const IconImageRef& b) {
        if ((a.width >= size) != (b.width >= size)) return a.width >= size;
        return a.width >= size ? a.width < b.width : a.width > b.width;
    };
    for (std::size_t i = 0; i < Word(block, 4); ++i)
        if (const auto ref = EntryAt(block, i); ref && (!best || better(*ref, *best))) best = ref;
    return best;
}

}  // namespace tessera
