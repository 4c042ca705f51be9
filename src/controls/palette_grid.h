#pragma once
// The palette grid's model: up to 256 palette entries laid out as square cells in rows, 20 × 20
// pixels at 96 DPI.
#include <array>
#include <cstdint>
#include <span>

namespace tessera {

// One palette entry as the palette functions give it.
struct PaletteEntry {
    std::uint8_t red = 0, green = 0, blue = 0, flags = 0;
};

class PaletteGridModel {
public:
    static constexpr int kMaxEntries = 256;
    static constexpr int kCellSize = 20;
    // The colour of a cell past the last entry.
    static constexpr std::uint32_t kNoColour = 0x1FFFFFFF;

    // Takes the first 256 entries at most; the slots after them hold 0x80 in every byte.
    void SetEntries(std::span<const PaletteEntry> entries);
    int entryCount() const noexcept { return entryCount_; }
    const std::array<PaletteEntry, kMaxEntries>& entries() const noexcept { return entries_; }

    // Lays cells `cellSize` pixels square out for a client `clientWidth` wide beside a vertical
    // scroll bar `scrollBarWidth` wide.
    void FitGrid(int clientWidth, int scrollBarWidth, int cellSize = kCellSize);
    int columns() const noexcept { return columns_; }
    int rows() const noexcept { return rows_; }
    int cellSize() const noexcept { return cellSize_; }
    // The height all rows take.
    int contentHeight() const noexcept { return rows_ * cellSize_; }

    // The cell's colour as 0x00BBGGRR, or kNoColour past the entries.
    std::uint32_t ColorAt(int column, int row) const;
    // The first cell can always take the selection; the others only when they show a colour.
    bool CanSelect(int column, int row) const;

private:
    std::array<PaletteEntry, kMaxEntries> entries_{};
    int entryCount_ = 0;
    int columns_ = 0;
    int rows_ = 0;
    int cellSize_ = kCellSize;
};

}  // namespace tessera
