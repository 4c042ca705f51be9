#pragma once
// The words of a text as the search compares them: split at blanks and punctuation, with letter
// case and accents folded as a French or English reader expects ("Élève" and "eleve" are one word).
#include <cstddef>
#include <string>
#include <string_view>

namespace tessera {

// Words are cut to this many bytes (whole characters) of their folded form; a search for a
// longer word compares its beginning only.
inline constexpr std::size_t kMaxWordBytes = 40;

// Reads the words of a UTF-8 text one at a time. Letters and digits make words; every other
// character (blanks, punctuation, symbols, controls, invalid bytes) ends one.
class FoldedWords {
public:
    explicit FoldedWords(std::string_view text) noexcept
        : at_(reinterpret_cast<const unsigned char*>(text.data())), end_(at_ + text.size()) {}

    // The next word, folded and cut to kMaxWordBytes; false after the last. The view is valid
    // until the next call.
    bool Next(std::string_view& word) noexcept;

private:
    // Reads up to the end of the next word; its folded size in word_ (0: none, or only marks).
    std::size_t ReadWord() noexcept;

    const unsigned char* at_;
    const unsigned char* end_;
    char word_[kMaxWordBytes + 8];
};

// The text's folded words, each preceded by one space: " jean exemple com".
std::string FoldWords(std::string_view text);

}  // namespace tessera
