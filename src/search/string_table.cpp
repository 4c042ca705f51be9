#include "search/string_table.h"

#include <cstring>
#include <stdexcept>

namespace tessera {

// FNV-1a over 32-bit words, then mixed: words are short, and this is a fraction of the cost of
// folding them.
std::uint32_t StringTable::Hash(std::string_view text) noexcept {
    std::uint32_t h = 2166136261u ^ static_cast<std::uint32_t>(text.size());
    std::size_t i = 0;
    for (; i + 4 <= text.size(); i += 4) {
        std::uint32_t word;
        std::memcpy(&word, text.data() + i, 4);
        h = (h ^ word) * 16777619u;
    }
    for (; i < text.size(); ++i) h = (h ^ static_cast<unsigned char>(text[i])) * 16777619u;
    h ^= h >> 15;
    h *= 0x2c1b3c6du;
    h ^= h >> 12;
    return h;
}

std::uint32_t StringTable::Find(std::string_view text) const noexcept {
    if (slots_.empty()) return kNone;
    const std::uint32_t hash = Hash(text);
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
        const std::uint64_t slot = slots_[at];
        if (slot == 0) return kNone;
        const auto id = static_cast<std::uint32_t>(slot) - 1;
        if (slot >> 32 == hash && At(id) == text) return id;
    }
}

std::uint32_t StringTable::Add(std::string_view text) {
    if ((ends_.size() + 1) * 4 >= slots_.size() * 3) Grow();
    const std::uint32_t hash = Hash(text);
    const std::size_t mask = slots_.size() - 1;
    std::size_t at = hash & mask;
    for (;; at = (at + 1) & mask) {
        const std::uint64_t slot = slots_[at];
        if (slot == 0) break;
        const auto id = static_cast<std::uint32_t>(slot) - 1;
        if (slot >> 32 == hash && At(id) == text) return id;
    }
    if (chars_.size() + text.size() > 0xFFFFFFF0u || ends_.size() >= kNone - 1) throw std::length_error("StringTable");
    chars_.append(text);
    ends_.push_back(static_cast<std::uint32_t>(chars_.size()));
    slots_[at] = std::uint64_t{hash} << 32 | static_cast<std::uint32_t>(ends_.size());
    return static_cast<std::uint32_t>(ends_.size() - 1);
}

void StringTable::Grow() {
    std::vector<std::uint64_t> slots(slots_.empty() ? 64 : slots_.size() * 2, 0);
    const std::size_t mask = slots.size() - 1;
    for (const std::uint64_t slot : slots_) {
        if (slot == 0) continue;
        std::size_t at = (slot >> 32) & mask;
        while (slots[at] != 0) at = (at + 1) & mask;
        slots[at] = slot;
    }
    slots_.swap(slots);
}

void StringTable::Clear() {
    chars_.clear();
    chars_.shrink_to_fit();
    ends_ = {};
    slots_ = {};
}

std::size_t StringTable::MemoryBytes() const noexcept {
    return chars_.capacity() + ends_.capacity() * sizeof(std::uint32_t) + slots_.capacity() * sizeof(std::uint64_t);
}

}  // namespace tessera
