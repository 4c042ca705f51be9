#pragma once
// TUrlLabel: a label drawn as a link (hand cursor, blue underlined text) that opens its URL when
// clicked and offers "Copy" on a right click. It takes over an existing STATIC control.
#include <windows.h>

#include <functional>
#include <string>

#include "win/unique_handle.h"

namespace tessera {

class TUrlLabel {
public:
    static constexpr COLORREF kLinkColor = RGB(0, 0, 255);
    static constexpr COLORREF kDefaultActiveColor = RGB(128, 0, 128);

    // Attaches to `label` until either the label or this object goes.
    explicit TUrlLabel(HWND label);
    ~TUrlLabel();
    TUrlLabel(const TUrlLabel&) = delete;
    TUrlLabel& operator=(const TUrlLabel&) = delete;

    // The link's target; when blank, the caption is the target.
    std::string URL;
    // The font colour while the left button is held down on the label.
    COLORREF ActiveColor = kDefaultActiveColor;
    // Runs after the label's own click handling; the target is opened next.
    std::function<void()> OnClick;
    // Hands a target to the shell; replaceable so that a click can be watched without a browser.
    std::function<void(const std::string&)> Open;

    HWND hwnd() const noexcept { return label_; }
    COLORREF FontColor() const noexcept { return color_; }
    std::string Caption() const;
    HMENU Menu() const noexcept { return menu_.get(); }

    void Click();
    // "Copy": the caption (not the URL) onto the clipboard as plain text.
    void CopyClick();

private:
    static LRESULT CALLBACK SubclassProc(HWND h, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR self);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void Detach();
    void MakeLinkFont(HFONT base);
    void SetFontColor(COLORREF color);
    void Paint();
    void ShowMenu(LPARAM at);

    HWND label_;
    COLORREF color_ = kLinkColor;
    COLORREF savedColor_ = kLinkColor;
    bool pressed_ = false;
    win::unique_hfont font_;
    win::unique_hmenu menu_;
};

}  // namespace tessera
