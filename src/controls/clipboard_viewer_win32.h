#pragma once
// TClipboardViewer: a scrolling panel in the clipboard viewer chain that shows the clipboard's
// content (while it is visible) and raises OnChange on every change of the clipboard.
#include <windows.h>

#include <functional>
#include <memory>

#include "controls/clipboard_formats_win32.h"
#include "controls/clipboard_viewer.h"
#include "controls/palette_grid_win32.h"
#include "win/picture_box.h"
#include "win/unique_handle.h"
#include "win/window.h"

namespace tessera {

class TClipboardViewer final : public win::Window, private ViewerActions {
public:
    // A child of `parent` at `bounds` (the parent's client coordinates); joins the chain at once.
    TClipboardViewer(HWND parent, const RECT& bounds);
    ~TClipboardViewer() override;

    // Raised on every clipboard change, before the view shows the new content.
    std::function<void()> OnChange;

    TClipboardViewFormat ViewFormat() const noexcept { return core_.ViewFormat(); }
    // Asks for a view format; the content decides again when it cannot be shown.
    void SetViewFormat(TClipboardViewFormat v) { core_.RequestViewFormat(v); }

    // Where the panel lies on its parent (the parent's client coordinates).
    void SetBounds(const RECT& bounds);

    COLORREF Color() const noexcept { return color_; }
    void SetColor(COLORREF color);

    // The window that shows the content now, or null (empty clipboard).
    HWND ChildWindow() const noexcept;
    HWND nextViewer() const noexcept { return reinterpret_cast<HWND>(core_.nextViewer()); }
    bool chained() const noexcept { return core_.chained(); }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // ViewerActions.
    void PassToNextViewer(WindowId next, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
    void FireChange() override;
    void RebuildView() override;

    void JoinChain();
    void LeaveChain();
    void DestroyChild();
    void BuildTextView(TClipboardViewFormat v);
    void BuildPictureView(TClipboardViewFormat v);
    void BuildPaletteView();
    void BuildComponentView();
    HWND CreateTextControl(bool oemFont);
    HFONT TerminalFont();
    void LayoutChild() noexcept;
    void OnScroll(int bar, int code);

    Win32ClipboardProbe probe_;
    ClipboardViewerCore core_;
    win::unique_hwnd textView_;
    std::unique_ptr<win::PictureBox> pictureView_;
    std::unique_ptr<TPaletteGrid> paletteGrid_;
    HFONT font_ = nullptr;  // the panel's font, owned by whoever set it
    win::unique_hfont terminalFont_;
    bool textInTerminalFont_ = false;
    COLORREF color_;
    win::unique_hbrush background_;
    POINT scroll_{0, 0};
    bool layoutSuspended_ = false;
    bool viewStale_ = false;  // the clipboard changed while the panel was hidden
    bool inLayout_ = false;
};

}  // namespace tessera
