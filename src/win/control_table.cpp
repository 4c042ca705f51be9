#include "win/control_table.h"

#include <richedit.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <utility>

#include "text/ascii.h"
#include "win/dpi.h"
#include "win/last_error.h"
#include "win/rich_edit.h"
#include "win/text.h"

namespace tessera::win {
namespace {

// 8 points at the set's DPI: a point is 1/72 inch.
unique_hfont MakeFormFont(int dpi, FontWeight weight) {
    const int height = -::MulDiv(8, dpi, 72);
    return unique_hfont(::CreateFontW(height, 0, 0, 0, weight == FontWeight::Bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE,
                                      FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                      DEFAULT_PITCH | FF_SWISS, L"MS Sans Serif"));
}

// Controls without a tab order sort after every other.
unsigned TabKey(const ControlRow& row) { return static_cast<unsigned>(row.tabOrder); }

bool SameName(std::string_view a, std::string_view b) { return EqualsIgnoringCase(a, b); }

bool IsOwnerDrawnList(const ControlRow& row) {
    return row.className && ::lstrcmpiW(row.className, L"LISTBOX") == 0 && (row.style & LBS_OWNERDRAWFIXED);
}

}  // namespace

void ControlSet::Create(HWND parent, std::span<const ControlRow> rows, int dpi) {
    parent_ = parent;
    dpi_ = dpi;
    if (!normalFont_) normalFont_ = MakeFormFont(dpi_, FontWeight::Normal);
    if (!boldFont_) boldFont_ = MakeFormFont(dpi_, FontWeight::Bold);

    std::vector<const ControlRow*> order;
    for (const ControlRow& s : rows) {
        rows_.push_back(&s);
        if (s.className) order.push_back(&s);
    }
    // Creation order is the tab order; controls without one come last.
    std::stable_sort(order.begin(), order.end(),
                     [](const ControlRow* a, const ControlRow* b) { return TabKey(*a) < TabKey(*b); });

    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    for (const ControlRow* s : order) {
        if (::lstrcmpiW(s->className, RICHEDIT_CLASSW) == 0) LoadRichEdit();
        const std::wstring text = Utf8ToWide(s->text ? s->text : "");
        const RECT r = Bounds(s->name);
        HWND h = ::CreateWindowExW(s->exStyle, s->className, text.c_str(), s->style | WS_CHILD | WS_CLIPSIBLINGS,
                                   r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(s->id)), instance, nullptr);
        if (!h) ThrowLastError("CreateWindowExW (control)");
        entries_.push_back({s, h});
        SetFontOf(entries_.back(), FALSE);
    }
}

void ControlSet::SetDpi(int dpi) {
    if (dpi == dpi_) return;
    dpi_ = dpi;
    // The old fonts live until no control uses them any more.
    unique_hfont oldNormal = std::exchange(normalFont_, MakeFormFont(dpi_, FontWeight::Normal));
    unique_hfont oldBold = std::exchange(boldFont_, MakeFormFont(dpi_, FontWeight::Bold));
    for (const Entry& e : entries_) SetFontOf(e, TRUE);
    PlaceAll();
}

void ControlSet::SetGrowth(SIZE growth) {
    if (growth.cx == growth_.cx && growth.cy == growth_.cy) return;
    growth_ = growth;
    PlaceAll();
}

void ControlSet::PlaceAll() const {
    for (const Entry& e : entries_) {
        const RECT r = Bounds(e.row->name);
        ::SetWindowPos(e.hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

int ControlSet::Scaled(int designPixels) const { return ScaleToDpi(designPixels, dpi_); }

HFONT ControlSet::FontOf(const ControlRow& row) const {
    return row.weight == FontWeight::Bold ? boldFont_.get() : normalFont_.get();
}

void ControlSet::SetFontOf(const Entry& entry, BOOL redraw) const {
    ::SendMessageW(entry.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(FontOf(*entry.row)), redraw);
    if (IsOwnerDrawnList(*entry.row)) ::SendMessageW(entry.hwnd, LB_SETITEMHEIGHT, 0, LineHeight(*entry.row));
}

int ControlSet::LineHeight(const ControlRow& row) const {
    const window_dc dc(parent_);
    const select_object font(dc.get(), FontOf(row));
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc.get(), &metrics);
    return metrics.tmHeight;
}

const ControlRow* ControlSet::FindRow(std::string_view name) const {
    for (const ControlRow* row : rows_)
        if (SameName(row->name, name)) return row;
    return nullptr;
}

RECT ControlSet::Bounds(std::string_view name) const {
    const ControlRow* row = FindRow(name);
    if (!row) return {};
    RECT r = ScaleToDpi(RECT{row->x, row->y, row->x + row->width, row->y + row->height}, dpi_);
    const Anchors& a = row->anchors;
    r.left += ::MulDiv(growth_.cx, a.left, 100);
    r.right += ::MulDiv(growth_.cx, a.right, 100);
    r.top += ::MulDiv(growth_.cy, a.top, 100);
    r.bottom += ::MulDiv(growth_.cy, a.bottom, 100);
    return r;
}

// The dialog keys follow the z-order, in which windows stand in the order they were made: the
// child goes just below the last control that comes before it in tab order, or on top.
void ControlSet::Attach(std::string_view name, HWND child) {
    const ControlRow* row = FindRow(name);
    if (!row) throw std::logic_error("no control row named " + std::string(name));
    const Entry* before = nullptr;
    for (const Entry& e : entries_)
        if (TabKey(*e.row) <= TabKey(*row) && (!before || TabKey(*before->row) <= TabKey(*e.row))) before = &e;
    const RECT r = Bounds(name);
    ::SetWindowPos(child, before ? before->hwnd : HWND_TOP, r.left, r.top, r.right - r.left, r.bottom - r.top,
                   SWP_NOACTIVATE);
    entries_.push_back({row, child});
    SetFontOf(entries_.back(), TRUE);
}

HWND ControlSet::Find(std::string_view name) const {
    for (const Entry& e : entries_)
        if (SameName(e.row->name, name)) return e.hwnd;
    return nullptr;
}

const ControlRow* ControlSet::RowOf(HWND control) const {
    for (const Entry& e : entries_)
        if (e.hwnd == control) return e.row;
    return nullptr;
}

HBRUSH ControlSet::ColourFor(HWND control, HDC dc) const {
    const ControlRow* row = RowOf(control);
    if (!row || row->textColor == CLR_INVALID) return nullptr;
    ::SetTextColor(dc, row->textColor);
    ::SetBkMode(dc, TRANSPARENT);
    return ::GetSysColorBrush(COLOR_BTNFACE);
}

}  // namespace tessera::win
