#include "win/clipboard.h"

#include <algorithm>
#include <cstring>
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

unique_hglobal GlobalCopy(const void* data, std::size_t size) {
    unique_hglobal block(::GlobalAlloc(GMEM_MOVEABLE, size));
    if (!block) return block;
    const global_lock<void> into(block.get());
    if (!into) return {};
    std::memcpy(into.get(), data, size);
    return block;
}

void GiveToClipboard(UINT format, unique_hglobal block) {
    if (block && ::SetClipboardData(format, block.get())) block.release();
}

std::wstring ClipboardUnicodeText() {
    const HANDLE data = ::GetClipboardData(CF_UNICODETEXT);
    const global_lock<wchar_t> text(data);
    if (!text) return {};
    const std::size_t room = text.size() / sizeof(wchar_t);
    return std::wstring(text.get(), std::find(text.get(), text.get() + room, L'\0'));
}

void EmptySystemClipboard(HWND owner) {
    ClipboardScope open(owner);
    ::EmptyClipboard();
}

}  // namespace tessera::win
