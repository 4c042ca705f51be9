#include "win/form.h"

#include "win/application.h"
#include "win/modal_scope.h"

namespace tessera::win {

Form::Form(const FormDescription& description)
    : clientSize_(description.clientSize),
      style_(description.style),
      exStyle_(description.exStyle),
      rows_(description.controls) {
    const SIZE outer = OuterSize();
    CreateWindowObject(description.className, exStyle_, L"", style_, 0, 0, outer.cx, outer.cy, description.owner,
                       description.icon);
    controls_.Create(hwnd(), rows_);
}

SIZE Form::OuterSize() const {
    RECT r{0, 0, clientSize_.cx, clientSize_.cy};
    ::AdjustWindowRectEx(&r, style_, FALSE, exStyle_);
    return {r.right - r.left, r.bottom - r.top};
}

ModalResult Form::ShowModal() {
    modalResult_.reset();
    const ModalScope modal(hwnd(), OuterSize());
    ModalShowing();
    Application::Instance().RunModalLoop(hwnd(), [this] { return modalResult_.has_value(); });
    ModalClosing();
    return modalResult_.value_or(ModalResult::Cancel);
}

LRESULT Form::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        if (HBRUSH brush = controls_.ColourFor(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam)))
            return reinterpret_cast<LRESULT>(brush);
        break;
    case WM_CLOSE:
        // The close box, or another program asking: a form hides with Cancel rather than going.
        EndModal(ModalResult::Cancel);
        return 0;
    default: break;
    }
    return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace tessera::win
