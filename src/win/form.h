#pragma once
// A form: a top-level window made, with its controls, from a description, and shown modeless or
// modal. The description's numbers are pixels as designed, at 96 DPI: the form scales them, and
// its fonts and icons, to the DPI of its monitor when it is made and whenever that DPI changes.
#include <windows.h>

#include <optional>
#include <span>
#include <string_view>

#include "win/control_table.h"
#include "win/modal_result.h"
#include "win/unique_handle.h"
#include "win/window.h"

namespace tessera::win {

// A modal dialog's frame: a caption with its close box, and the thin dialog border.
inline constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
// The same with a border the user drags to make it larger: its controls follow their anchors.
inline constexpr DWORD kSizableDialogStyle = kDialogStyle | WS_THICKFRAME;
inline constexpr DWORD kDialogExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

struct FormDescription {
    const wchar_t* className;
    SIZE clientSize;
    DWORD style;
    DWORD exStyle;
    std::span<const ControlRow> controls;
    HWND owner = nullptr;
    const wchar_t* iconName = nullptr;  // icon resource for the caption and the task switcher
};

class Form : public Window {
public:
    // The control named `name` (letter case ignored), or null.
    HWND Control(std::string_view name) const { return controls_.Find(name); }
    // The window's size, frame included.
    SIZE OuterSize() const;
    // The DPI the form is laid out for.
    int Dpi() const noexcept { return controls_.Dpi(); }
    // The client area's size in 96-DPI pixels: the designed one, or larger as the user made a
    // sizable form. Setting it resizes the form, never below the designed size.
    SIZE UserSize() const noexcept { return {clientSize_.cx + extra_.cx, clientSize_.cy + extra_.cy}; }
    void SetUserSize(SIZE size);

    // Shows the form modal and runs it until EndModal; Cancel when the program quits meanwhile.
    ModalResult ShowModal();

protected:
    // Creates the hidden window at the screen's origin, then its controls.
    explicit Form(const FormDescription& description);

    const ControlSet& Controls() const noexcept { return controls_; }
    std::span<const ControlRow> Rows() const noexcept { return rows_; }
    // The row's rectangle at the form's DPI, for the parts the form makes or paints itself.
    RECT Bounds(std::string_view name) const { return controls_.Bounds(name); }
    // A length designed at 96 DPI (a margin the form paints), at the form's DPI.
    int Scaled(int designPixels) const { return controls_.Scaled(designPixels); }
    // Places `child`, made by the form for its row `name`, and puts it in the row's tab order.
    void Attach(std::string_view name, HWND child) { controls_.Attach(name, child); }

    void EndModal(ModalResult result) { modalResult_ = result; }
    // Run by ShowModal once the form shows, before its loop.
    virtual void ModalShowing() {}
    // Run by ShowModal after the loop, while the form is still on screen.
    virtual void ModalClosing() {}

    // Run after the form and its table's controls took a new DPI, for what the form placed or
    // loaded itself.
    virtual void DpiChanged() {}

    // Colours the table's coloured controls, measures the lines of owner-drawn lists, follows
    // DPI changes, lays a sizable form's controls out as it is resized (never below its designed
    // size); WM_CLOSE ends a modal showing with Cancel.
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // The window's size at `dpi` as Windows computes it for the table's client area, grown by
    // the user's extra size.
    SIZE OuterSizeAt(int dpi) const;
    // The client area's growth beyond the designed size, in pixels at `dpi`.
    SIZE GrowthAt(int dpi) const;
    void Resized(SIZE client);
    bool Sizable() const noexcept { return (style_ & WS_THICKFRAME) != 0; }
    // Sizes the window so that its client area is the table's at the form's DPI.
    void FitClientArea();
    void SetDpi(int dpi);
    void LoadIcons();

    SIZE clientSize_;
    SIZE extra_{0, 0};  // beyond clientSize_, at 96 DPI
    bool selfSizing_ = true;
    DWORD style_;
    DWORD exStyle_;
    std::span<const ControlRow> rows_;
    const wchar_t* iconName_;
    ControlSet controls_;
    unique_hicon bigIcon_;
    unique_hicon smallIcon_;
    std::optional<ModalResult> modalResult_;
};

}  // namespace tessera::win
