#pragma once
// A form's controls as data: one table row per control (name, class, rectangle, styles, tab
// order). The same names serve the code (member lookup) and the translation tables.
#include <windows.h>

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tessera::win {

enum class FontWeight { Normal, Bold };

struct ControlRow {
    const char* name;          // the control's member name
    const wchar_t* className;  // window class (L"BUTTON", RICHEDIT_CLASSW, ...)
    int id;                    // control id, for WM_COMMAND
    int x, y, width, height;   // client coordinates of the parent
    DWORD style;               // WS_CHILD and WS_CLIPSIBLINGS are added (controls may overlap a panel)
    DWORD exStyle;
    int tabOrder;      // creation order; -1 for controls that never take the focus
    const char* text;  // initial text, UTF-8
    FontWeight weight = FontWeight::Normal;
    COLORREF textColor = CLR_INVALID;  // CLR_INVALID: the system's colour
};

class ControlSet {
public:
    ControlSet() = default;
    ControlSet(const ControlSet&) = delete;
    ControlSet& operator=(const ControlSet&) = delete;
    ~ControlSet();

    // Creates the controls of `rows` on `parent` in tab order, in the form's font
    // (MS Sans Serif 8 pt, bold where the row asks).
    void Create(HWND parent, std::span<const ControlRow> rows);

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
    std::vector<Entry> entries_;
    HFONT normalFont_ = nullptr;
    HFONT boldFont_ = nullptr;
};

}  // namespace tessera::win
