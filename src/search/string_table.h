#pragma once
// A set of strings numbered in the order they were added, found by hashing: the search's
// vocabulary while it is being collected, and its table of item file names.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tessera {

class StringTable {
public:
    static constexpr std::uint32_t kNone = 0xFFFFFFFF;

    // The number of `text`, or kNone when it was never added.
    std::uint32_t Find(std::string_view text) const noexcept;
    // The number of `text`, added when it is new (numbers count up from 0).
    std::uint32_t Add(std::string_view text);
    std::string_view At(std::uint32_t id) const noexcept {
        const std::uint32_t begin = id == 0 ? 0 : ends_[id - 1];
        return std::string_view(chars_.data() + begin, ends_[id] - begin);
    }
    std::size_t Size() const noexcept { return ends_.size(); }
    void Clear();
    std::size_t MemoryBytes() const noexcept;

private:
    static std::uint32_t Hash(std::string_view text) noexcept;
    void Grow();

    std::string chars_;                // the strings back to back
    std::vector<std::uint32_t> ends_;  // where each one ends in chars_
    // Open addressing: the hash in the high half (compared before any string is read), the
    // number + 1 in the low half; 0 for a free slot.
    std::vector<std::uint64_t> slots_;
};

}  // namespace tessera
