#pragma once
// A form's controls as data: one table row per control (name, class, rectangle, styles, tab
// order). The same names serve the code (member lookup) and the translation tables. Rectangles
// are designed at 96 DPI; the set places the controls, and makes their fonts, at its DPI.
#include <windows.h>

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "win/unique_handle.h"

namespace tessera::win {

enum class FontWeight { Normal, Bold };

// How a control follows its form grown beyond the designed size: the share, in per cent, of the
// growth of the width by which its left and right edges move, and of the height for its top and
// bottom edges. None: it stays where it was designed; {0, 0, 100, 100}: it grows with the form;
// {100, 100, 100, 100}: it keeps to the bottom right corner.
struct Anchors {
    int left = 0, top = 0, right = 0, bottom = 0;
};

struct ControlRow {
    const char* name;          // the control's member name
    const wchar_t* className;  // window class (L"BUTTON", RICHEDIT_CLASSW, ...); null for a part the
                               // form makes or paints itself, of which the table keeps the place
    int id;                    // control id, for WM_COMMAND
    int x, y, width, height;   // client coordinates of the parent, at 96 DPI
    DWORD style;               // WS_CHILD and WS_CLIPSIBLINGS are added (controls may overlap a panel)
    DWORD exStyle;
    int tabOrder;      // creation order; -1 for controls that never take the focus
    const char* text;  // initial text, UTF-8
    FontWeight weight = FontWeight::Normal;
    COLORREF textColor = CLR_INVALID;  // CLR_INVALID: the system's colour
    Anchors anchors{};
};

class ControlSet {
public:
    ControlSet() = default;
    ControlSet(const ControlSet&) = delete;
    ControlSet& operator=(const ControlSet&) = delete;

    // Creates the controls of `rows` on `parent` in tab order, scaled to `dpi`, in the form's font
    // (MS Sans Serif 8 pt, bold where the row asks). Rows without a class make no window.
    void Create(HWND parent, std::span<const ControlRow> rows, int dpi);
    // Scales every control, attached ones included, and the fonts to `dpi`.
    void SetDpi(int dpi);
    int Dpi() const noexcept { return dpi_; }
    // Places every control for a form `growth` pixels larger than designed, at the set's DPI.
    void SetGrowth(SIZE growth);
    // A length designed at 96 DPI, at the set's DPI.
    int Scaled(int designPixels) const;
    // The rectangle of the row named `name` at the set's DPI and growth; empty when there is none.
    RECT Bounds(std::string_view name) const;
    // Takes `child`, the window a form made for its row `name`, among the controls: it goes to the
    // row's rectangle and tab order, gets the form's font, and Find finds it. Throws
    // std::logic_error for an unknown row.
    void Attach(std::string_view name, HWND child);
    // The height of a line of text in the row's font: the row height of an owner-drawn list.
    int LineHeight(const ControlRow& row) const;

    // The control named `name` (letter case ignored), or null.
    HWND Find(std::string_view name) const;
    HWND operator[](std::string_view name) const { return Find(name); }
    // The table row of a created control, or null.
    const ControlRow* RowOf(HWND control) const;
    // Answers WM_CTLCOLORSTATIC / WM_CTLCOLORBTN for controls with a colour of their own; null
    // for the others (the caller then passes the message on).
    HBRUSH ColourFor(HWND control, HDC dc) const;

private:
    struct Entry {
        const ControlRow* row;
        HWND hwnd;
    };
    const ControlRow* FindRow(std::string_view name) const;
    HFONT FontOf(const ControlRow& row) const;
    // Gives the control its row's font and, for an owner-drawn list, the matching line height.
    void SetFontOf(const Entry& entry, BOOL redraw) const;
    void PlaceAll() const;

    std::vector<const ControlRow*> rows_;
    // The controls in the order they were made, which is their tab order, then attached windows.
    std::vector<Entry> entries_;
    HWND parent_ = nullptr;
    int dpi_ = 96;
    SIZE growth_{0, 0};
    // The controls die with their parent; the fonts they use are the set's.
    unique_hfont normalFont_;
    unique_hfont boldFont_;
};

}  // namespace tessera::win
