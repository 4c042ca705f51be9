#include "text/folded_words.h"

#include <array>
#include <cstdint>
#include <cstring>

#include "text/text_tables.h"

namespace tessera {

namespace {

using text_tables::Folding;
using text_tables::kSeparator;

// ASCII: 0 ends a word, otherwise the byte the character folds to.
constexpr std::array<char, 128> MakeAsciiFolding() {
    std::array<char, 128> table{};
    for (int c = '0'; c <= '9'; ++c) table[c] = static_cast<char>(c);
    for (int c = 'a'; c <= 'z'; ++c) table[c] = static_cast<char>(c);
    for (int c = 'A'; c <= 'Z'; ++c) table[c] = static_cast<char>(c - 'A' + 'a');
    return table;
}
constexpr std::array<char, 128> kAscii = MakeAsciiFolding();

// One character read from UTF-8: its code point and its length in bytes. Bytes that do not
// make a valid character read as one byte of code point 0xFFFD, which ends a word.
struct Decoded {
    char32_t cp;
    int size;
};

inline Decoded DecodeUtf8(const unsigned char* p, const unsigned char* end) noexcept {
    const unsigned char lead = *p;
    const auto continuation = [&](int i) { return p + i < end && (p[i] & 0xC0) == 0x80; };
    if (lead >= 0xC2 && lead < 0xE0 && continuation(1)) return {char32_t((lead & 0x1F) << 6 | (p[1] & 0x3F)), 2};
    if (lead >= 0xE0 && lead < 0xF0 && continuation(1) && continuation(2)) {
        const char32_t cp = char32_t((lead & 0x0F) << 12 | (p[1] & 0x3F) << 6 | (p[2] & 0x3F));
        if (cp >= 0x800 && (cp < 0xD800 || cp > 0xDFFF)) return {cp, 3};
    } else if (lead >= 0xF0 && lead < 0xF5 && continuation(1) && continuation(2) && continuation(3)) {
        const char32_t cp =
            char32_t((lead & 0x07) << 18 | (p[1] & 0x3F) << 12 | (p[2] & 0x3F) << 6 | (p[3] & 0x3F));
        if (cp >= 0x10000 && cp <= 0x10FFFF) return {cp, 4};
    }
    return {0xFFFD, 1};
}

constexpr Folding kNothing{0, ""};
constexpr Folding kEndsWord{kSeparator, ""};
constexpr Folding kKept{kSeparator - 1, ""};  // a word character kept as it is written

// How a character beyond ASCII folds. The tables cover Latin, Greek and Cyrillic; beyond them
// the blocks of punctuation, symbols, pictographs and private use end words, combining marks
// fold to nothing, and every other character (the letters of other scripts) is kept.
inline const Folding& FoldingOf(char32_t cp) noexcept {
    if (cp < 0x530) return text_tables::kFolding0080[cp - 0x80];
    if (cp >= 0x1E00 && cp < 0x2000) return text_tables::kFolding1E00[cp - 0x1E00];
    if ((cp >= 0x1AB0 && cp < 0x1B00) || (cp >= 0x1DC0 && cp < 0x1E00) || (cp >= 0x20D0 && cp < 0x2100) ||
        (cp >= 0xFE20 && cp < 0xFE30))
        return kNothing;
    if ((cp >= 0x2000 && cp < 0x2C00) || (cp >= 0x2E00 && cp < 0x2E80) || (cp >= 0x3000 && cp < 0x3040) ||
        (cp >= 0xE000 && cp < 0xF900) || (cp >= 0xFE10 && cp < 0xFE20) || (cp >= 0xFE30 && cp < 0xFE70) ||
        (cp >= 0xFF00 && cp < 0xFF10) || (cp >= 0xFF1A && cp < 0xFF21) || (cp >= 0xFF3B && cp < 0xFF41) ||
        (cp >= 0xFF5B && cp < 0xFF66) || (cp >= 0xFFF0 && cp < 0x10000) || (cp >= 0x1F000 && cp < 0x1FC00) ||
        cp >= 0xE0000)
        return kEndsWord;
    return kKept;
}

}  // namespace

bool FoldedWords::Next(std::string_view& word) noexcept {
    // A run of combining marks alone makes no word: the loop goes on to the next one.
    for (;;)
        if (const std::size_t size = ReadWord(); size > 0) {
            word = std::string_view(word_, size);
            return true;
        } else if (at_ == end_) {
            return false;
        }
}

std::size_t FoldedWords::ReadWord() noexcept {
    const unsigned char* p = at_;
    const unsigned char* const end = end_;
    // Up to the first character of a word.
    const Folding* first = nullptr;
    int firstSize = 1;
    for (;;) {
        while (p < end && *p < 0x80 && kAscii[*p] == 0) ++p;
        if (p == end) {
            at_ = p;
            return 0;
        }
        if (*p < 0x80) break;
        const Decoded d = DecodeUtf8(p, end);
        const Folding& f = FoldingOf(d.cp);
        if (f.size != kSeparator) {
            first = &f;
            firstSize = d.size;
            break;
        }
        p += d.size;
    }

    std::size_t size = 0;
    bool full = false;
    const auto append = [&](const char* bytes, std::size_t n) {
        if (full || size + n > kMaxWordBytes) {
            full = true;
            return;
        }
        std::memcpy(word_ + size, bytes, n);
        size += n;
    };
    if (first) {
        if (first == &kKept)
            append(reinterpret_cast<const char*>(p), static_cast<std::size_t>(firstSize));
        else
            append(first->bytes, first->size);
        p += firstSize;
    }
    while (p < end) {
        const unsigned char c = *p;
        if (c < 0x80) {
            const char folded = kAscii[c];
            if (folded == 0) break;
            if (size < kMaxWordBytes && !full)
                word_[size++] = folded;
            else
                full = true;
            ++p;
            continue;
        }
        const Decoded d = DecodeUtf8(p, end);
        const Folding& f = FoldingOf(d.cp);
        if (f.size == kSeparator) break;
        if (&f == &kKept)
            append(reinterpret_cast<const char*>(p), static_cast<std::size_t>(d.size));
        else
            append(f.bytes, f.size);
        p += d.size;
    }
    at_ = p;
    return size;
}

std::string FoldWords(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 1);
    FoldedWords words(text);
    for (std::string_view word; words.Next(word);) {
        out += ' ';
        out += word;
    }
    return out;
}

}  // namespace tessera
