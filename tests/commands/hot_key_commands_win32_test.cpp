// What the paste command puts on the clipboard for a text item, read back as other programs would.
#include <gtest/gtest.h>
#include <windows.h>

#include <richedit.h>

#include <string>

#include "commands/hot_key_commands_win32.h"
#include "win/rich_edit.h"
#include "win/unique_handle.h"

namespace tessera {
namespace {

std::string ClipboardBytes(UINT format) {
    if (!::OpenClipboard(nullptr)) return "<not opened>";
    std::string bytes = "<absent>";
    if (HANDLE data = ::GetClipboardData(format)) {
        const win::global_lock<const char> locked(data);
        if (locked) bytes.assign(locked.get());
    }
    ::CloseClipboard();
    return bytes;
}

TEST(PasteOfATextItem, PutsTheControlsRichTextAndItsPlainTextWithCrLf) {
    win::LoadRichEdit();
    const win::unique_hwnd owner(
        ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr));
    const win::unique_hwnd edit(::CreateWindowExW(0, RICHEDIT_CLASSW, L"", WS_POPUP | ES_MULTILINE, 0, 0, 200, 100,
                                                  nullptr, nullptr, nullptr, nullptr));
    ASSERT_TRUE(owner && edit);
    ASSERT_TRUE(win::StreamInRtf(
        edit.get(), "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Un \\b gras\\b0\\par deux\\'e9\\par trois}"));

    PutRichTextOnClipboard(owner.get(), edit.get());

    const std::string rtf = ClipboardBytes(::RegisterClipboardFormatW(L"Rich Text Format"));
    EXPECT_EQ(rtf.rfind("{\\rtf", 0), 0u) << rtf;
    EXPECT_NE(rtf.find("gras\\b0"), std::string::npos) << rtf;  // bold ends after "gras"
    // The 8-bit text is the system's conversion of the Unicode one.
    EXPECT_EQ(ClipboardBytes(CF_TEXT), "Un gras\r\ndeux\xe9\r\ntrois");
    EXPECT_EQ(::GetClipboardOwner(), owner.get());

    // An empty control leaves an empty text, not the previous one.
    ASSERT_TRUE(win::StreamInRtf(edit.get(), ""));
    PutRichTextOnClipboard(owner.get(), edit.get());
    EXPECT_EQ(ClipboardBytes(CF_TEXT), "");
}

}  // namespace
}  // namespace tessera
