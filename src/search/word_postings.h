#pragma once
// Folded words and, for each, the documents (numbered texts) that hold it: a sorted, compact
// form that answers "which documents hold a word beginning with ..." and a growing form that
// collects new documents until they are merged into the sorted one.
//
// A posting list is the increasing numbers of a word's documents, written as gaps in 7-bit
// groups (the first number as it is): most gaps take one byte.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "search/string_table.h"

namespace tessera {

inline constexpr std::uint32_t kDroppedDoc = 0xFFFFFFFF;

// Calls visit(doc) for each number of the posting list `list`. Damaged bytes give wrong numbers
// (the caller checks their range) but are never read past.
template <class Visit>
void ForEachPosting(std::string_view list, Visit&& visit) {
    const auto* p = reinterpret_cast<const unsigned char*>(list.data());
    const auto* const end = p + list.size();
    std::uint32_t doc = 0;
    while (p < end) {
        std::uint32_t gap = *p & 0x7F;
        if (*p++ & 0x80) {
            int shift = 7;
            while (p < end && shift < 35) {
                gap |= static_cast<std::uint32_t>(*p & 0x7F) << shift;
                shift += 7;
                if (!(*p++ & 0x80)) break;
            }
        }
        doc += gap;
        visit(doc);
    }
}

void AppendPosting(std::string& list, std::uint32_t gap);

// Documents added in increasing order, and their words.
class WordCollector {
public:
    // Records that `doc` holds `word`; documents come in increasing order, and a word a document
    // repeats counts once.
    void Add(std::string_view word, std::uint32_t doc);
    // Folds and splits `text` and adds its words to `doc`; the number of different words.
    std::uint32_t AddText(std::string_view text, std::uint32_t doc);

    std::size_t WordCount() const noexcept { return words_.Size(); }
    std::string_view Word(std::uint32_t id) const noexcept { return words_.At(id); }
    const std::string& Postings(std::uint32_t id) const noexcept { return lists_[id].bytes; }
    std::size_t PostingCount() const noexcept { return postings_; }
    // The word numbers in the words' order.
    std::vector<std::uint32_t> SortedIds() const;
    template <class Visit>
    void ForEachWithPrefix(std::string_view prefix, Visit&& visit) const;
    void Clear();
    std::size_t MemoryBytes() const noexcept;

private:
    struct List {
        std::uint32_t lastDoc = 0;  // last doc + 1, 0 for none
        std::string bytes;
    };
    StringTable words_;
    std::vector<List> lists_;
    std::size_t postings_ = 0;
    // The words in order, made again after words were added (queries are rare against adds).
    mutable std::vector<std::uint32_t> sorted_;
};

// The 32-bit little-endian number `i` of an array of them at `at` (any alignment).
inline std::uint32_t LoadEnd(const char* at, std::size_t i) noexcept {
    const auto* p = reinterpret_cast<const unsigned char*>(at) + 4 * i;
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

// The words in byte order, each with its posting list: a view of four arrays, the words back to
// back and their lists back to back, each with the 32-bit ends of its pieces. MergeWords makes
// one that owns its arrays; a cache's bytes hold them in place, and a view of them copies nothing.
class FrozenWords {
public:
    struct Arrays {
        const char* wordEnds = nullptr;     // count little-endian 32-bit ends in `chars`
        const char* postingEnds = nullptr;  // count little-endian 32-bit ends in `postings`
        std::string_view chars;
        std::string_view postings;
        std::size_t count = 0;
    };

    FrozenWords() = default;
    // A view of arrays kept alive by their owner.
    explicit FrozenWords(const Arrays& arrays) noexcept : arrays_(arrays) {}
    FrozenWords(FrozenWords&&) noexcept = default;
    FrozenWords& operator=(FrozenWords&&) noexcept = default;

    std::size_t WordCount() const noexcept { return arrays_.count; }
    std::string_view Word(std::size_t i) const noexcept { return Slice(arrays_.chars, arrays_.wordEnds, i); }
    std::string_view Postings(std::size_t i) const noexcept { return Slice(arrays_.postings, arrays_.postingEnds, i); }
    const Arrays& Data() const noexcept { return arrays_; }
    // Calls visit(doc) for every document holding a word that begins with `prefix`; a document
    // may come more than once.
    template <class Visit>
    void ForEachWithPrefix(std::string_view prefix, Visit&& visit) const;
    // The bytes it owns (none for a view).
    std::size_t MemoryBytes() const noexcept;
    // Checks what a reader of foreign bytes must: the ends increase within their bytes and the
    // words are in strictly increasing order.
    bool IsWellFormed() const noexcept;

private:
    friend class FrozenWordsWriter;
    struct Owned {
        std::string wordEnds, postingEnds, chars, postings;
    };

    static std::string_view Slice(std::string_view bytes, const char* ends, std::size_t i) noexcept {
        const std::uint32_t begin = i == 0 ? 0 : LoadEnd(ends, i - 1);
        return std::string_view(bytes.data() + begin, LoadEnd(ends, i) - begin);
    }

    std::unique_ptr<Owned> owned_;  // where arrays_ points when it owns them
    Arrays arrays_;
};

// The words of `frozen` and `added` together, documents renumbered through `renumber` (indexed
// by the old number; kDroppedDoc drops a document; empty: numbers kept). Every document of
// `added` must come after every document of `frozen`. Words left without documents are dropped.
FrozenWords MergeWords(const FrozenWords& frozen, const WordCollector& added,
                       const std::vector<std::uint32_t>& renumber = {});

template <class Visit>
void FrozenWords::ForEachWithPrefix(std::string_view prefix, Visit&& visit) const {
    std::size_t low = 0;
    std::size_t high = WordCount();
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if (Word(middle) < prefix)
            low = middle + 1;
        else
            high = middle;
    }
    for (std::size_t i = low; i < WordCount(); ++i) {
        if (!Word(i).starts_with(prefix)) break;
        ForEachPosting(Postings(i), visit);
    }
}

template <class Visit>
void WordCollector::ForEachWithPrefix(std::string_view prefix, Visit&& visit) const {
    if (sorted_.size() != words_.Size()) sorted_ = SortedIds();
    std::size_t low = 0;
    std::size_t high = sorted_.size();
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if (words_.At(sorted_[middle]) < prefix)
            low = middle + 1;
        else
            high = middle;
    }
    for (std::size_t i = low; i < sorted_.size(); ++i) {
        if (!words_.At(sorted_[i]).starts_with(prefix)) break;
        ForEachPosting(lists_[sorted_[i]].bytes, visit);
    }
}

}  // namespace tessera
