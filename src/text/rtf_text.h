#pragma once
// The plain text of a text item's file, as a reader sees it: rich text (RTF) without its control
// words, tables, pictures and field instructions; any other file as plain text.
#include <cstddef>
#include <string>
#include <string_view>

namespace tessera {

// Text beyond this many bytes of UTF-8 (at least a million characters) is not read.
inline constexpr std::size_t kMaxTextBytes = 4'000'000;

// The text of `bytes` in UTF-8, paragraphs and line breaks as "\n", tabs and table cells as
// "\t". Bytes that do not begin with "{\rtf" are plain text: UTF-8 when valid, else code page
// 1252. Damaged input gives what text it can; never throws but for lack of memory.
std::string RtfToText(std::string_view bytes, std::size_t maxBytes = kMaxTextBytes);

}  // namespace tessera
