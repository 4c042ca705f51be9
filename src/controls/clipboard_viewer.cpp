#include "controls/clipboard_viewer.h"

namespace tessera {

void ClipboardViewerCore::Joined(WindowId next) {
    nextViewer_ = next;
    chained_ = true;
}

std::optional<WindowId> ClipboardViewerCore::Leave() {
    std::optional<WindowId> follower;
    if (chained_) follower = nextViewer_;
    chained_ = false;
    nextViewer_ = 0;
    return follower;
}

void ClipboardViewerCore::PassOn(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    // The joining call itself delivers a WM_DRAWCLIPBOARD before it has told us who follows:
    // with no follower known there is nobody to pass it to.
    if (nextViewer_ != 0) actions_.PassToNextViewer(nextViewer_, message, wParam, lParam);
}

void ClipboardViewerCore::OnDrawClipboard(std::uintptr_t wParam, std::intptr_t lParam) {
    PassOn(kDrawClipboardMessage, wParam, lParam);
    if (probe_.IsEmpty())
        viewFormat_ = cvEmpty;
    else if (!IsViewFormatAvailable(viewFormat_, probe_, registered_))
        viewFormat_ = cvDefault;
    // A failing change handler leaves the old view in place: the rebuild does not run.
    actions_.FireChange();
    actions_.RebuildView();
}

void ClipboardViewerCore::OnDestroyClipboard() {
    viewFormat_ = cvEmpty;
    actions_.FireChange();
    actions_.RebuildView();
}

void ClipboardViewerCore::OnChangeCbChain(WindowId leaving, WindowId following) {
    if (leaving == nextViewer_)
        nextViewer_ = following;
    else
        PassOn(kChangeCbChainMessage, leaving, static_cast<std::intptr_t>(following));
}

void ClipboardViewerCore::RequestViewFormat(TClipboardViewFormat v) {
    if (v == viewFormat_) return;
    const bool usable = IsViewFormatAvailable(v, probe_, registered_) && IsFormatShowable(v, probe_, registered_);
    viewFormat_ = usable ? v : cvDefault;
    actions_.RebuildView();
}

}  // namespace tessera
