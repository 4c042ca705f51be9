#include "controls/palette_grid_win32.h"

#include <windowsx.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "controls/scroll_layout.h"
#include "win/dpi.h"
#include "win/last_error.h"

namespace tessera {
namespace {

std::vector<PALETTEENTRY> ReadEntries(HPALETTE palette, UINT count) {
    std::vector<PALETTEENTRY> entries(count);
    if (count) entries.resize(::GetPaletteEntries(palette, 0, count, entries.data()));
    return entries;
}

UINT EntryCount(HPALETTE palette) {
    WORD count = 0;
    if (::GetObjectW(palette, sizeof count, &count) != sizeof count) return 0;
    return count;
}

COLORREF GridColour() { return ::GetSysColor(COLOR_WINDOW); }

void FillSolid(HDC dc, const RECT& rect, COLORREF colour) {
    win::unique_hbrush brush(::CreateSolidBrush(colour));
    ::FillRect(dc, &rect, brush.get());
}

}  // namespace

win::unique_hpalette DuplicatePalette(HPALETTE palette) {
    if (!palette) return {};
    const std::vector<PALETTEENTRY> entries = ReadEntries(palette, EntryCount(palette));
    // LOGPALETTE ends in a one-entry array: the block is allocated for all entries.
    std::vector<std::uint8_t> block(offsetof(LOGPALETTE, palPalEntry) +
                                    std::max<std::size_t>(entries.size(), 1) * sizeof(PALETTEENTRY));
    auto* logical = reinterpret_cast<LOGPALETTE*>(block.data());
    logical->palVersion = 0x300;
    logical->palNumEntries = static_cast<WORD>(entries.size());
    std::copy(entries.begin(), entries.end(), logical->palPalEntry);
    win::unique_hpalette copy(::CreatePalette(logical));
    if (!copy) win::ThrowLastError("CreatePalette");
    return copy;
}

TPaletteGrid::TPaletteGrid(HWND parent, const RECT& bounds) {
    CreateWindowObject(L"TPaletteGrid", 0, L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP, bounds.left,
                       bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, parent);
    FitGrid();
}

void TPaletteGrid::ShowPalette(HPALETTE palette) {
    palette_.reset();
    palette_ = DuplicatePalette(palette);
    std::vector<PaletteEntry> entries;
    if (palette_) {
        const UINT count = std::min<UINT>(EntryCount(palette_.get()), PaletteGridModel::kMaxEntries);
        for (const PALETTEENTRY& e : ReadEntries(palette_.get(), count))
            entries.push_back({e.peRed, e.peGreen, e.peBlue, e.peFlags});
    }
    model_.SetEntries(entries);
    selection_ = {0, 0};
    FitGrid();
    ::InvalidateRect(hwnd(), nullptr, TRUE);
}

void TPaletteGrid::FitGrid() {
    if (fitting_) return;
    fitting_ = true;
    RECT client{};
    ::GetClientRect(hwnd(), &client);
    // The bar is always shown, so the width beside it is the client width plus the bar's. The
    // cells, like the bar, grow with the DPI.
    const int dpi = win::WindowDpi(hwnd());
    const int scrollBar = win::SystemMetricForDpi(SM_CXVSCROLL, dpi);
    model_.FitGrid(client.right + scrollBar, scrollBar, win::ScaleToDpi(PaletteGridModel::kCellSize, dpi));
    const int page = client.bottom;
    scrollTop_ = ClampScrollPosition(scrollTop_, page, model_.contentHeight());
    SCROLLINFO info{sizeof info,
                    SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL,
                    0,
                    model_.contentHeight() - 1,
                    static_cast<UINT>(std::max(page, 0)),
                    scrollTop_,
                    0};
    ::SetScrollInfo(hwnd(), SB_VERT, &info, TRUE);
    fitting_ = false;
}

RECT TPaletteGrid::CellRect(int column, int row) const {
    const int cell = model_.cellSize();
    const int left = column * cell;
    const int top = row * cell - scrollTop_;
    return {left, top, left + cell, top + cell};
}

void TPaletteGrid::PaintSwatch(HDC dc, COLORREF colour, RECT rect, bool focused) {
    // The frame: a button-face outline, then a sunken 3-D edge.
    {
        win::unique_hgdiobj pen(::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNFACE)));
        win::select_object usePen(dc, pen.get());
        win::select_object noFill(dc, ::GetStockObject(NULL_BRUSH));
        ::Rectangle(dc, rect.left, rect.top, rect.right, rect.bottom);
    }
    ::InflateRect(&rect, -1, -1);
    const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
    const COLORREF highlight = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    // Two pixels at 96 DPI, wider as the cells grow.
    const int frame = win::ScaleToDpi(2, win::WindowDpi(hwnd()));
    for (int i = 0; i < frame; ++i) {
        FillSolid(dc, {rect.left, rect.top, rect.right - 1, rect.top + 1}, shadow);
        FillSolid(dc, {rect.left, rect.top, rect.left + 1, rect.bottom - 1}, shadow);
        FillSolid(dc, {rect.right - 1, rect.top, rect.right, rect.bottom}, highlight);
        FillSolid(dc, {rect.left, rect.bottom - 1, rect.right, rect.bottom}, highlight);
        ::InflateRect(&rect, -1, -1);
    }
    // The swatch itself, in the grid's palette when it has one: it is realised as each swatch is
    // drawn, so a repaint is all a palette change takes.
    {
        const win::select_palette usePalette(dc, palette_.get());
        win::unique_hbrush brush(::CreateSolidBrush(colour));
        win::unique_hgdiobj pen(::CreatePen(PS_SOLID, 1, colour));
        win::select_object useBrush(dc, brush.get());
        win::select_object usePen(dc, pen.get());
        ::Rectangle(dc, rect.left, rect.top, rect.right, rect.bottom);
    }
    if (focused) {
        ::InflateRect(&rect, -1, -1);
        ::SetBkColor(dc, GridColour());
        ::DrawFocusRect(dc, &rect);
    }
}

void TPaletteGrid::PaintContent(HDC dc, const RECT& area) {
    FillSolid(dc, area, GridColour());
    const bool hasFocus = ::GetFocus() == hwnd();
    for (int row = 0; row < model_.rows(); ++row) {
        for (int column = 0; column < model_.columns(); ++column) {
            const RECT cell = CellRect(column, row);
            RECT visible{};
            if (!::IntersectRect(&visible, &cell, &area)) continue;
            const std::uint32_t colour = model_.ColorAt(column, row);
            // Cells past the entries keep the grid's colour, already painted.
            if (colour == PaletteGridModel::kNoColour) continue;
            // Palette-relative, so that the swatch shows the palette's own colour.
            const bool focused = hasFocus && selection_.x == column && selection_.y == row;
            PaintSwatch(dc, 0x02000000 | colour, cell, focused);
        }
    }
}

void TPaletteGrid::Select(int column, int row) {
    if (column < 0 || row < 0 || column >= model_.columns() || row >= model_.rows()) return;
    if (!model_.CanSelect(column, row)) return;
    const RECT old = CellRect(selection_.x, selection_.y);
    selection_ = {column, row};
    const RECT now = CellRect(column, row);
    ::InvalidateRect(hwnd(), &old, TRUE);
    ::InvalidateRect(hwnd(), &now, TRUE);
    // Keep the selected row in view.
    RECT client{};
    ::GetClientRect(hwnd(), &client);
    if (now.top < 0)
        ScrollTo(scrollTop_ + now.top);
    else if (now.bottom > client.bottom)
        ScrollTo(scrollTop_ + now.bottom - client.bottom);
}

void TPaletteGrid::ScrollTo(int position) {
    RECT client{};
    ::GetClientRect(hwnd(), &client);
    position = ClampScrollPosition(position, client.bottom, model_.contentHeight());
    if (position == scrollTop_) return;
    scrollTop_ = position;
    ::SetScrollPos(hwnd(), SB_VERT, position, TRUE);
    ::InvalidateRect(hwnd(), nullptr, TRUE);
}

void TPaletteGrid::OnVScroll(int code) {
    SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
    ::GetScrollInfo(hwnd(), SB_VERT, &info);
    ScrollRequest request = ScrollRequest::Other;
    switch (code) {
    case SB_LINEUP: request = ScrollRequest::LineBack; break;
    case SB_LINEDOWN: request = ScrollRequest::LineForward; break;
    case SB_PAGEUP: request = ScrollRequest::PageBack; break;
    case SB_PAGEDOWN: request = ScrollRequest::PageForward; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: request = ScrollRequest::Track; break;
    case SB_TOP: request = ScrollRequest::Start; break;
    case SB_BOTTOM: request = ScrollRequest::End; break;
    default: break;
    }
    ScrollTo(ScrollTarget(request, {scrollTop_, info.nTrackPos, static_cast<int>(info.nPage), model_.contentHeight(),
                                    model_.cellSize()}));
}

void TPaletteGrid::OnKeyDown(WPARAM key) {
    int column = selection_.x;
    int row = selection_.y;
    switch (key) {
    case VK_LEFT: --column; break;
    case VK_RIGHT: ++column; break;
    case VK_UP: --row; break;
    case VK_DOWN: ++row; break;
    case VK_HOME: column = 0; break;
    default: return;
    }
    Select(column, row);
}

LRESULT TPaletteGrid::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE:
        Window::HandleMessage(message, wParam, lParam);
        FitGrid();
        ::InvalidateRect(hwnd(), nullptr, TRUE);
        return 0;
    case WM_ERASEBKGND: return 1;  // PaintContent fills every pixel
    case WM_PAINT: {
        win::paint_scope paint(hwnd());
        PaintContent(paint.dc(), paint.area());
        return 0;
    }
    case WM_PRINTCLIENT: {
        RECT client{};
        ::GetClientRect(hwnd(), &client);
        PaintContent(reinterpret_cast<HDC>(wParam), client);
        return 0;
    }
    case WM_VSCROLL: OnVScroll(LOWORD(wParam)); return 0;
    case WM_MOUSEWHEEL:
        ScrollTo(scrollTop_ - GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA * model_.cellSize());
        return 0;
    case WM_LBUTTONDOWN: {
        ::SetFocus(hwnd());
        const int x = GET_X_LPARAM(lParam);
        const int y = GET_Y_LPARAM(lParam) + scrollTop_;
        if (x >= 0 && y >= 0) Select(x / model_.cellSize(), y / model_.cellSize());
        return 0;
    }
    case WM_KEYDOWN: OnKeyDown(wParam); return 0;
    case WM_GETDLGCODE: return DLGC_WANTARROWS;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
        const RECT cell = CellRect(selection_.x, selection_.y);
        ::InvalidateRect(hwnd(), &cell, TRUE);
        return 0;
    }
    default: return Window::HandleMessage(message, wParam, lParam);
    }
}

}  // namespace tessera
