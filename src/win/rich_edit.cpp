#include "win/rich_edit.h"

#include <richedit.h>

#include <algorithm>
#include <cstring>

#include "win/system_libraries.h"

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

// Hands the bytes over in the pieces the control asks for. A piece never ends on a CR while more
// follows: Wine's control takes a CR at the end of one piece and the LF that starts the next as
// two line breaks, which would add an empty line to a long plain text.
struct StreamSource {
    std::string_view rest;
    std::size_t unit;  // bytes per character: 1, or 2 for UTF-16
};

bool EndsWithCr(std::string_view bytes, std::size_t unit) {
    return bytes.size() >= unit && bytes[bytes.size() - unit] == '\r' && (unit == 1 || bytes.back() == '\0');
}

DWORD CALLBACK ReadPiece(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done) {
    auto& source = *reinterpret_cast<StreamSource*>(cookie);
    std::size_t n = std::min(source.rest.size(), static_cast<std::size_t>(std::max(count, LONG{0})));
    n -= n % source.unit;
    if (n > source.unit && n < source.rest.size() && EndsWithCr(source.rest.substr(0, n), source.unit))
        n -= source.unit;
    std::memcpy(buffer, source.rest.data(), n);
    source.rest.remove_prefix(n);
    *done = static_cast<LONG>(n);
    return 0;
}

bool StreamIn(HWND richEdit, WPARAM format, std::string_view bytes, std::size_t unit) {
    StreamSource source{bytes, unit};
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&source), 0, ReadPiece};
    ::SendMessageW(richEdit, EM_STREAMIN, format, reinterpret_cast<LPARAM>(&stream));
    return stream.dwError == 0;
}

}  // namespace

// The DLL stays loaded: the controls made from its class may live until the program ends.
bool LoadRichEdit() {
    static const HMODULE library = LoadSystemLibrary(L"riched20.dll");
    return library != nullptr;
}

UINT RichTextClipboardFormat() {
    static const UINT format = ::RegisterClipboardFormatW(CF_RTF);
    return format;
}

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
    return StreamIn(richEdit, rich ? SF_RTF : SF_TEXT, bytes, 1);
}

bool StreamInPlainText(HWND richEdit, std::wstring_view text) {
    const std::string_view bytes(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
    return StreamIn(richEdit, SF_TEXT | SF_UNICODE, bytes, sizeof(wchar_t));
}

std::wstring PlainText(HWND richEdit) {
    GETTEXTLENGTHEX length{GTL_USECRLF | GTL_PRECISE | GTL_NUMCHARS, 1200};
    const LRESULT count = ::SendMessageW(richEdit, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0);
    if (count <= 0) return {};
    std::wstring text(static_cast<std::size_t>(count) + 1, L'\0');
    GETTEXTEX get{static_cast<DWORD>(text.size() * sizeof(wchar_t)), GT_USECRLF, 1200, nullptr, nullptr};
    const LRESULT got =
        ::SendMessageW(richEdit, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(std::clamp<LRESULT>(got, 0, count)));
    return text;
}

}  // namespace tessera::win
