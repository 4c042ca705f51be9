#pragma once
// The rich-edit control's DLL, and moving rich text in and out of the control in one piece.
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace tessera::win {

// Loads riched20.dll, which registers RICHEDIT_CLASSW, from the system folder the first time it is
// called; call it before a rich-edit control is made. False when the DLL is not there.
bool LoadRichEdit();

// The clipboard format that carries rich text ("Rich Text Format").
UINT RichTextClipboardFormat();
// The control's whole content as RTF, or nothing when the stream failed.
std::optional<std::string> StreamOutRtf(HWND richEdit);
// The control's whole content as plain text, paragraphs ending with CR LF.
std::wstring PlainText(HWND richEdit);
// Replaces the control's content with `bytes`: rich text, or plain text when the bytes are not
// RTF. False when the control reported an error.
bool StreamInRtf(HWND richEdit, std::string_view bytes);
// Replaces the control's content with `text` as it stands, even when it reads like RTF. False when
// the control reported an error.
bool StreamInPlainText(HWND richEdit, std::wstring_view text);

}  // namespace tessera::win
