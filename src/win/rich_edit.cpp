#include "win/rich_edit.h"

#include <richedit.h>

#include <algorithm>
#include <cstring>

namespace tessera::win {
namespace {

struct RtfSink {
    std::string bytes;
    bool failed = false;
};

// Called by the control with each piece of the rich text. Nothing may unwind into it.
DWORD CALLBACK AppendRtf(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done) {
    auto& sink = *reinterpret_cast<RtfSink*>(cookie);
    try {
        sink.bytes.append(reinterpret_cast<const char*>(buffer), static_cast<std::size_t>(count));
        *done = count;
        return 0;
    } catch (...) {
        sink.failed = true;
        *done = 0;
        return 1;
    }
}

struct RtfSource {
    std::string_view rest;
};

DWORD CALLBACK ReadRtf(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done) {
    auto& source = *reinterpret_cast<RtfSource*>(cookie);
    const std::size_t n = std::min(source.rest.size(), static_cast<std::size_t>(std::max(count, LONG{0})));
    std::memcpy(buffer, source.rest.data(), n);
    source.rest.remove_prefix(n);
    *done = static_cast<LONG>(n);
    return 0;
}

}  // namespace

std::optional<std::string> StreamOutRtf(HWND richEdit) {
    RtfSink sink;
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&sink), 0, AppendRtf};
    ::SendMessageW(richEdit, EM_STREAMOUT, SF_RTF, reinterpret_cast<LPARAM>(&stream));
    if (stream.dwError != 0 || sink.failed) return std::nullopt;
    return std::move(sink.bytes);
}

// Bytes that do not start like RTF are read as plain text: some controls would load nothing.
bool StreamInRtf(HWND richEdit, std::string_view bytes) {
    const bool rich = bytes.substr(0, 5) == "{\\rtf";
    RtfSource source{bytes};
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&source), 0, ReadRtf};
    ::SendMessageW(richEdit, EM_STREAMIN, rich ? SF_RTF : SF_TEXT, reinterpret_cast<LPARAM>(&stream));
    return stream.dwError == 0;
}

std::wstring PlainText(HWND richEdit) {
    GETTEXTLENGTHEX length{GTL_USECRLF | GTL_PRECISE | GTL_NUMCHARS, 1200};
    const LRESULT count = ::SendMessageW(richEdit, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0);
    if (count <= 0) return {};
    std::wstring text(static_cast<std::size_t>(count) + 1, L'\0');
    GETTEXTEX get{static_cast<DWORD>(text.size() * sizeof(wchar_t)), GT_USECRLF, 1200, nullptr, nullptr};
    const LRESULT got = ::SendMessageW(richEdit, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(std::clamp<LRESULT>(got, 0, count)));
    return text;
}

}  // namespace tessera::win
