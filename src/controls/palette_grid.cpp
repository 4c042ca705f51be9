#include "controls/palette_grid.h"

#include <algorithm>

namespace tessera {

void PaletteGridModel::SetEntries(std::span<const PaletteEntry> entries) {
    entryCount_ = static_cast<int>(std::min<std::size_t>(entries.size(), kMaxEntries));
    std::copy_n(entries.begin(), entryCount_, entries_.begin());
    std::fill(entries_.begin() + entryCount_, entries_.end(), PaletteEntry{0x80, 0x80, 0x80, 0x80});
}

void PaletteGridModel::FitGrid(int clientWidth, int scrollBarWidth, int cellSize) {
    cellSize_ = std::max(1, cellSize);
    // Room is always left for the scroll bar, so that showing it never changes the columns.
    columns_ = std::max(1, (clientWidth - scrollBarWidth) / cellSize_);
    rows_ = std::max(1, (entryCount_ + columns_ - 1) / columns_);
}

std::uint32_t PaletteGridModel::ColorAt(int column, int row) const {
    // Before the first FitGrid there is one column, as after a fit to a narrow client.
    const long long index = column + static_cast<long long>(row) * std::max(columns_, 1);
    if (column < 0 || row < 0 || index > entryCount_ - 1) return kNoColour;
    const PaletteEntry& e = entries_[static_cast<std::size_t>(index)];
    return static_cast<std::uint32_t>(e.red) | (static_cast<std::uint32_t>(e.green) << 8) |
           (static_cast<std::uint32_t>(e.blue) << 16);
}

bool PaletteGridModel::CanSelect(int column, int row) const {
    return (column == 0 && row == 0) || ColorAt(column, row) != kNoColour;
}

}  // namespace tessera
