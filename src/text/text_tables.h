#pragma once
// Tables made by tools/make_text_tables.py: the folding of letters for the search and the
// Windows code pages 1250 to 1258 for the rich-text reader.
#include <cstdint>

namespace tessera::text_tables {

// What a character folds to: `size` bytes of UTF-8 in `bytes` (0 for a combining accent, which
// folds to nothing), or kSeparator for a character that ends a word.
struct Folding {
    std::uint8_t size;
    char bytes[5];
};
inline constexpr std::uint8_t kSeparator = 0xFF;

extern const Folding kFolding0080[0x530 - 0x80];   // U+0080 to U+052F
extern const Folding kFolding1E00[0x2000 - 0x1E00];  // U+1E00 to U+1FFF

inline constexpr int kFirstCodePage = 1250;
inline constexpr int kLastCodePage = 1258;
// The character of each byte from 0x80 up, per code page from 1250.
extern const char16_t kCodePages[kLastCodePage - kFirstCodePage + 1][128];

}  // namespace tessera::text_tables
