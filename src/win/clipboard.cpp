#include "win/clipboard.h"

#include <stdexcept>

namespace tessera::win {

ClipboardScope::ClipboardScope(HWND owner) {
    constexpr DWORD kPatienceMs = 100;
    const DWORD start = ::GetTickCount();
    while (!::OpenClipboard(owner)) {
        if (::GetTickCount() - start >= kPatienceMs) throw std::runtime_error("Ne peut ouvrir le Presse-papiers");
        ::Sleep(5);
    }
}

ClipboardScope::~ClipboardScope() { ::CloseClipboard(); }

void EmptySystemClipboard(HWND owner) {
    ClipboardScope open(owner);
    ::EmptyClipboard();
}

}  // namespace tessera::win
