#include "win/control_table.h"

#include <richedit.h>

#include <algorithm>
#include <stdexcept>
#include <string>

#include "win/last_error.h"
#include "win/rich_edit.h"
#include "win/text.h"

namespace tessera::win {
namespace {

unique_hfont MakeFormFont(HWND parent, FontWeight weight) {
    const window_dc dc(parent);
    const int height = -::MulDiv(8, ::GetDeviceCaps(dc.get(), LOGPIXELSY), 72);
    return unique_hfont(::CreateFontW(height, 0, 0, 0, weight == FontWeight::Bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE,
                                      FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                      DEFAULT_PITCH | FF_SWISS, L"MS Sans Serif"));
}

// Controls without a tab order sort after every other.
unsigned TabKey(const ControlRow& row) { return static_cast<unsigned>(row.tabOrder); }

bool SameName(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
        return lower(x) == lower(y);
    });
}

}  // namespace

void ControlSet::Create(HWND parent, std::span<const ControlRow> rows) {
    if (!normalFont_) normalFont_ = MakeFormFont(parent, FontWeight::Normal);
    if (!boldFont_) boldFont_ = MakeFormFont(parent, FontWeight::Bold);

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
        HWND h = ::CreateWindowExW(s->exStyle, s->className, text.c_str(), s->style | WS_CHILD | WS_CLIPSIBLINGS, s->x,
                                   s->y, s->width, s->height, parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(s->id)), instance, nullptr);
        if (!h) ThrowLastError("CreateWindowExW (control)");
        const HFONT font = s->weight == FontWeight::Bold ? boldFont_.get() : normalFont_.get();
        ::SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        entries_.push_back({s, h});
    }
}

const ControlRow* ControlSet::FindRow(std::string_view name) const {
    for (const ControlRow* row : rows_)
        if (SameName(row->name, name)) return row;
    return nullptr;
}

RECT ControlSet::Bounds(std::string_view name) const {
    const ControlRow* row = FindRow(name);
    if (!row) return {};
    return {row->x, row->y, row->x + row->width, row->y + row->height};
}

// The dialog keys follow the z-order, in which windows stand in the order they were made: the
// child goes just below the last control that comes before it in tab order, or on top.
void ControlSet::Attach(std::string_view name, HWND child) {
    const ControlRow* row = FindRow(name);
    if (!row) throw std::logic_error("no control row named " + std::string(name));
    const Entry* before = nullptr;
    for (const Entry& e : entries_)
        if (TabKey(*e.row) <= TabKey(*row) && (!before || TabKey(*before->row) <= TabKey(*e.row))) before = &e;
    ::SetWindowPos(child, before ? before->hwnd : HWND_TOP, row->x, row->y, row->width, row->height, SWP_NOACTIVATE);
    entries_.push_back({row, child});
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
