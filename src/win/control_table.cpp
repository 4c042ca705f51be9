#include "win/control_table.h"

#include <richedit.h>

#include <algorithm>

#include "win/last_error.h"
#include "win/rich_edit.h"
#include "win/text.h"

namespace tessera::win {
namespace {

HFONT MakeFormFont(HWND parent, FontWeight weight) {
    HDC dc = ::GetDC(parent);
    const int height = -::MulDiv(8, ::GetDeviceCaps(dc, LOGPIXELSY), 72);
    ::ReleaseDC(parent, dc);
    return ::CreateFontW(height, 0, 0, 0, weight == FontWeight::Bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                         DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                         DEFAULT_PITCH | FF_SWISS, L"MS Sans Serif");
}

bool SameName(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
        return lower(x) == lower(y);
    });
}

}  // namespace

ControlSet::~ControlSet() {
    // The controls die with their parent; the fonts they use are ours.
    if (normalFont_) ::DeleteObject(normalFont_);
    if (boldFont_) ::DeleteObject(boldFont_);
}

void ControlSet::Create(HWND parent, std::span<const ControlRow> rows) {
    if (!normalFont_) normalFont_ = MakeFormFont(parent, FontWeight::Normal);
    if (!boldFont_) boldFont_ = MakeFormFont(parent, FontWeight::Bold);

    std::vector<const ControlRow*> order;
    for (const ControlRow& s : rows) order.push_back(&s);
    // Creation order is the tab order; controls without one come last.
    std::stable_sort(order.begin(), order.end(), [](const ControlRow* a, const ControlRow* b) {
        const unsigned ka = static_cast<unsigned>(a->tabOrder);
        const unsigned kb = static_cast<unsigned>(b->tabOrder);
        return ka < kb;
    });

    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    for (const ControlRow* s : order) {
        if (::lstrcmpiW(s->className, RICHEDIT_CLASSW) == 0) LoadRichEdit();
        const std::wstring text = Utf8ToWide(s->text ? s->text : "");
        HWND h = ::CreateWindowExW(s->exStyle, s->className, text.c_str(), s->style | WS_CHILD | WS_CLIPSIBLINGS, s->x,
                                   s->y, s->width, s->height, parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(s->id)), instance, nullptr);
        if (!h) ThrowLastError("CreateWindowExW (control)");
        ::SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(s->weight == FontWeight::Bold ? boldFont_ : normalFont_),
                       FALSE);
        entries_.push_back({s, h});
    }
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
