#include "lang/control_set_components_win32.h"

#include <commctrl.h>

#include "win/text.h"

namespace tessera {
namespace {

// The tables are UTF-8; the window functions get UTF-16, so accents show whatever the ANSI code page.
void SetWindowText(HWND h, const std::string& utf8) {
    const std::wstring wide = win::Utf8ToWide(utf8);
    ::SetWindowTextW(h, wide.c_str());
}

bool ClassIs(const wchar_t* className, const wchar_t* wanted) {
    return className && ::lstrcmpiW(className, wanted) == 0;
}

bool IsEditClass(const wchar_t* className) {
    // Rich edit classes are named "RichEdit20W", "RICHEDIT50W", ...
    return ClassIs(className, L"EDIT") || (className && ::CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, className,
                                                                         8, L"RichEdit", 8) == CSTR_EQUAL);
}

ComponentBounds BoundsOf(HWND h, bool topLevel) {
    RECT r{};
    if (!::GetWindowRect(h, &r)) return {};
    // Controls are placed in their parent's client area, a form on the screen.
    if (!topLevel) ::MapWindowPoints(HWND_DESKTOP, ::GetParent(h), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void Place(HWND h, bool topLevel, const ComponentBounds& b) {
    const ComponentBounds now = BoundsOf(h, topLevel);
    auto pick = [&](std::size_t i) { return b[i].value_or(now[i].value_or(0)); };
    ::SetWindowPos(h, nullptr, pick(0), pick(1), pick(2), pick(3), SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

class ControlSetComponents::FormComponent final : public TranslatableComponent {
public:
    FormComponent(HWND h, std::string fontName, int charSet)
        : h_(h), fontName_(std::move(fontName)), charSet_(charSet) {}
    std::string Name() const override { return {}; }
    bool HasCaption() const override { return true; }
    void SetCaption(const std::string& t) override { SetWindowText(h_, t); }
    ComponentBounds Bounds() const override { return BoundsOf(h_, true); }
    void SetBounds(const ComponentBounds& b) override { Place(h_, true, b); }
    bool HasFont() const override { return true; }
    std::string FontName() const override { return fontName_; }
    int FontCharSet() const override { return charSet_; }
    // Only recorded: each table names the font the form's controls were made with, so a switch
    // never has a new font to make.
    void SetFont(const std::string& name, std::optional<int> charSet) override {
        fontName_ = name;
        if (charSet) charSet_ = *charSet;
    }

private:
    HWND h_;
    std::string fontName_;
    int charSet_;
};

class ControlSetComponents::ControlComponent final : public TranslatableComponent {
public:
    ControlComponent(ControlSetComponents& owner, const win::ControlRow& row, HWND h)
        : owner_(owner), row_(row), h_(h) {}

    std::string Name() const override { return row_.name; }
    ComponentKind Kind() const override {
        if (IsListBox()) return ComponentKind::ItemList;
        if (IsComboBox()) return ComponentKind::ComboBox;
        return ComponentKind::Default;
    }
    // Edit boxes have a Text; labels, buttons, check boxes and links a Caption. Both are the window text.
    bool HasCaption() const override { return Kind() == ComponentKind::Default && !IsEditClass(row_.className); }
    void SetCaption(const std::string& t) override { SetWindowText(h_, t); }
    bool HasText() const override { return IsEditClass(row_.className); }
    void SetText(const std::string& t) override { SetWindowText(h_, t); }

    bool HasHint() const override { return true; }
    // Shown as a tool tip, and in an empty edit box as its cue text.
    void SetHint(const std::string& t) override {
        hint_ = win::Utf8ToWide(t);
        if (HWND tips = owner_.EnsureToolTips()) {
            TTTOOLINFOW tool{};
            tool.cbSize = sizeof tool;
            tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
            tool.hwnd = owner_.form_;
            tool.uId = reinterpret_cast<UINT_PTR>(h_);
            tool.lpszText = hint_.data();
            if (hasTool_)
                ::SendMessageW(tips, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
            else
                hasTool_ = ::SendMessageW(tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool)) != 0;
        }
        if (IsEditClass(row_.className))
            ::SendMessageW(h_, EM_SETCUEBANNER, FALSE, reinterpret_cast<LPARAM>(hint_.c_str()));
    }

    std::size_t ItemCount() const override {
        const LRESULT n = ::SendMessageW(h_, IsListBox() ? LB_GETCOUNT : CB_GETCOUNT, 0, 0);
        return (IsListBox() || IsComboBox()) && n > 0 ? static_cast<std::size_t>(n) : 0;
    }
    void SetItem(std::size_t i, const std::string& t) override {
        const std::wstring wide = win::Utf8ToWide(t);
        const auto at = static_cast<WPARAM>(i);
        const int selected = ItemIndex();
        ::SendMessageW(h_, IsListBox() ? LB_DELETESTRING : CB_DELETESTRING, at, 0);
        ::SendMessageW(h_, IsListBox() ? LB_INSERTSTRING : CB_INSERTSTRING, at, reinterpret_cast<LPARAM>(wide.c_str()));
        if (selected == static_cast<int>(i)) SetItemIndex(selected);  // replacing the line lost the selection
    }
    int ItemIndex() const override {
        if (!IsListBox() && !IsComboBox()) return -1;
        return static_cast<int>(::SendMessageW(h_, IsListBox() ? LB_GETCURSEL : CB_GETCURSEL, 0, 0));
    }
    void SetItemIndex(int i) override {
        if (IsListBox() || IsComboBox())
            ::SendMessageW(h_, IsListBox() ? LB_SETCURSEL : CB_SETCURSEL, static_cast<WPARAM>(i), 0);
    }

    ComponentBounds Bounds() const override { return BoundsOf(h_, false); }
    void SetBounds(const ComponentBounds& b) override { Place(h_, false, b); }

private:
    bool IsListBox() const { return ClassIs(row_.className, L"LISTBOX"); }
    bool IsComboBox() const { return ClassIs(row_.className, L"COMBOBOX"); }

    ControlSetComponents& owner_;
    const win::ControlRow& row_;
    HWND h_;
    std::wstring hint_;
    bool hasTool_ = false;
};

class ControlSetComponents::MenuItemComponent final : public TranslatableComponent {
public:
    explicit MenuItemComponent(const NamedMenuItem& item) : item_(item) {}
    std::string Name() const override { return item_.name; }
    ComponentKind Kind() const override { return ComponentKind::MenuItem; }
    bool HasCaption() const override { return true; }
    void SetCaption(const std::string& t) override {
        std::wstring wide = win::Utf8ToWide(t);
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_STRING;
        info.dwTypeData = wide.data();
        ::SetMenuItemInfoW(item_.menu, item_.id, FALSE, &info);
    }

private:
    NamedMenuItem item_;
};

ControlSetComponents::ControlSetComponents(HWND form, const win::ControlSet& controls,
                                           std::span<const win::ControlRow> rows,
                                           std::span<const NamedMenuItem> menuItems, std::string fontName,
                                           int fontCharSet)
    : form_(form), formComponent_(std::make_unique<FormComponent>(form, std::move(fontName), fontCharSet)) {
    for (const win::ControlRow& row : rows) {
        HWND h = row.className ? controls.Find(row.name) : nullptr;
        if (h) components_.push_back(std::make_unique<ControlComponent>(*this, row, h));
    }
    for (const NamedMenuItem& item : menuItems) components_.push_back(std::make_unique<MenuItemComponent>(item));
}

ControlSetComponents::~ControlSetComponents() = default;

TranslatableComponent& ControlSetComponents::Form() { return *formComponent_; }

HWND ControlSetComponents::EnsureToolTips() {
    if (!tips_)
        tips_.reset(::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, form_, nullptr, nullptr, nullptr));
    return tips_.get();
}

}  // namespace tessera
