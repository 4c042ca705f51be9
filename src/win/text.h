#pragma once
// Conversions between the program's 8-bit texts and the UTF-16 the window functions take.
// Two 8-bit encodings meet in the program: file names, item names and window titles are in the
// ANSI code page (as the "A" functions and the index file have them), while the program's own
// texts (translation tables, messages) are written in UTF-8.
#include <string>
#include <string_view>

namespace tessera::win {

std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::wstring_view wide);
std::wstring AnsiToWide(std::string_view ansi);
std::string WideToAnsi(std::wstring_view wide);

// A text whose encoding the caller cannot know (an exception's message, which may embed an
// ANSI path): taken as UTF-8 when it is valid UTF-8, else as ANSI.
std::wstring UserTextToWide(std::string_view text);

}  // namespace tessera::win
