#pragma once
// TPaletteGrid: a palette shown as a grid of 20 × 20 colour swatches with a vertical scroll bar.
#include <windows.h>

#include "controls/palette_grid.h"
#include "win/unique_handle.h"
#include "win/window.h"

namespace tessera {

// A copy of `palette` with all its entries; none for a null palette.
win::unique_hpalette DuplicatePalette(HPALETTE palette);

class TPaletteGrid final : public win::Window {
public:
    TPaletteGrid(HWND parent, const RECT& bounds);

    // Shows a copy of `palette` (at most its first 256 entries).
    void ShowPalette(HPALETTE palette);
    // The grid's copy of the palette, or null.
    HPALETTE Palette() const noexcept { return palette_.get(); }
    const PaletteGridModel& Model() const noexcept { return model_; }
    POINT Selection() const noexcept { return selection_; }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void FitGrid();
    void PaintContent(HDC dc, const RECT& area);
    void PaintSwatch(HDC dc, COLORREF colour, RECT rect, bool focused);
    RECT CellRect(int column, int row) const;
    void Select(int column, int row);
    void ScrollTo(int position);
    void OnVScroll(int code);
    void OnKeyDown(WPARAM key);

    PaletteGridModel model_;
    win::unique_hpalette palette_;
    POINT selection_{0, 0};
    int scrollTop_ = 0;
    bool fitting_ = false;
};

}  // namespace tessera
