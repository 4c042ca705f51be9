#include "search/word_postings.h"

#include <algorithm>
#include <stdexcept>

#include "text/folded_words.h"

namespace tessera {

void AppendPosting(std::string& list, std::uint32_t gap) {
    while (gap >= 0x80) {
        list += static_cast<char>((gap & 0x7F) | 0x80);
        gap >>= 7;
    }
    list += static_cast<char>(gap);
}

void WordCollector::Add(std::string_view word, std::uint32_t doc) {
    const std::uint32_t id = words_.Add(word);
    if (id == lists_.size()) lists_.emplace_back();
    List& list = lists_[id];
    if (list.lastDoc == doc + 1) return;  // already recorded for this document
    AppendPosting(list.bytes, list.lastDoc == 0 ? doc : doc - (list.lastDoc - 1));
    list.lastDoc = doc + 1;
    ++postings_;
}

std::uint32_t WordCollector::AddText(std::string_view text, std::uint32_t doc) {
    const std::size_t before = postings_;
    FoldedWords words(text);
    for (std::string_view word; words.Next(word);) Add(word, doc);
    return static_cast<std::uint32_t>(postings_ - before);
}

// Sorted on the words' first eight bytes, read as one number, and only words that share them
// are compared whole: most comparisons then touch no word.
std::vector<std::uint32_t> WordCollector::SortedIds() const {
    struct Key {
        std::uint64_t head;
        std::uint32_t id;
    };
    std::vector<Key> keys(words_.Size());
    for (std::uint32_t i = 0; i < keys.size(); ++i) {
        const std::string_view word = words_.At(i);
        std::uint64_t head = 0;
        for (std::size_t k = 0; k < 8; ++k)
            head = head << 8 | (k < word.size() ? static_cast<unsigned char>(word[k]) : 0);
        keys[i] = Key{head, i};
    }
    std::sort(keys.begin(), keys.end(), [this](const Key& a, const Key& b) {
        if (a.head != b.head) return a.head < b.head;
        return words_.At(a.id) < words_.At(b.id);
    });
    std::vector<std::uint32_t> ids(keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i) ids[i] = keys[i].id;
    return ids;
}

void WordCollector::Clear() {
    words_.Clear();
    lists_ = {};
    sorted_ = {};
    postings_ = 0;
}

std::size_t WordCollector::MemoryBytes() const noexcept {
    std::size_t bytes = words_.MemoryBytes() + lists_.capacity() * sizeof(List) + sorted_.capacity() * sizeof(std::uint32_t);
    for (const auto& list : lists_)
        if (list.bytes.capacity() > 15) bytes += list.bytes.capacity() + 1;
    return bytes;
}

std::size_t FrozenWords::MemoryBytes() const noexcept {
    if (!owned_) return 0;
    return owned_->wordEnds.capacity() + owned_->postingEnds.capacity() + owned_->chars.capacity() +
           owned_->postings.capacity();
}

bool FrozenWords::IsWellFormed() const noexcept {
    std::uint32_t word = 0;
    std::uint32_t posting = 0;
    for (std::size_t i = 0; i < WordCount(); ++i) {
        const std::uint32_t wordEnd = LoadEnd(arrays_.wordEnds, i);
        const std::uint32_t postingEnd = LoadEnd(arrays_.postingEnds, i);
        if (wordEnd < word || postingEnd < posting) return false;
        word = wordEnd;
        posting = postingEnd;
    }
    if (word != arrays_.chars.size() || posting != arrays_.postings.size()) return false;
    for (std::size_t i = 1; i < WordCount(); ++i)
        if (!(Word(i - 1) < Word(i))) return false;
    return true;
}

namespace {

void AppendEnd(std::string& ends, std::size_t end) {
    if (end > 0xFFFFFFF0u) throw std::length_error("search words");
    const auto value = static_cast<std::uint32_t>(end);
    const char bytes[4] = {static_cast<char>(value), static_cast<char>(value >> 8), static_cast<char>(value >> 16),
                           static_cast<char>(value >> 24)};
    ends.append(bytes, 4);
}

}  // namespace

// Builds the merged words one at a time.
class FrozenWordsWriter {
public:
    explicit FrozenWordsWriter(const std::vector<std::uint32_t>& renumber)
        : renumber_(renumber), out_(std::make_unique<FrozenWords::Owned>()) {}

    // Starts a word's list; lists must come in the words' order.
    void Begin() {
        list_.clear();
        lastDoc_ = 0;
        any_ = false;
    }
    void AddDoc(std::uint32_t doc) {
        if (!renumber_.empty()) {
            if (doc >= renumber_.size() || renumber_[doc] == kDroppedDoc) return;
            doc = renumber_[doc];
        }
        if (any_ && doc <= lastDoc_) return;  // damaged order: such a number is dropped
        AppendPosting(list_, any_ ? doc - lastDoc_ : doc);
        lastDoc_ = doc;
        any_ = true;
    }
    // Appends the list `bytes` whose documents all follow the ones added so far and need no
    // renumbering: copied as they are but for the first gap.
    void AppendList(std::string_view bytes) {
        if (!renumber_.empty() || bytes.empty()) {
            ForEachPosting(bytes, [this](std::uint32_t doc) { AddDoc(doc); });
            return;
        }
        if (!any_) {
            list_.append(bytes);
            std::uint32_t last = 0;
            ForEachPosting(bytes, [&last](std::uint32_t doc) { last = doc; });
            lastDoc_ = last;
            any_ = true;
            return;
        }
        // The first number is written as it is; the rest are gaps already.
        std::size_t firstSize = 0;
        while (firstSize < bytes.size() && (static_cast<unsigned char>(bytes[firstSize]) & 0x80)) ++firstSize;
        ++firstSize;
        std::uint32_t first = 0;
        ForEachPosting(bytes.substr(0, std::min(firstSize, bytes.size())), [&first](std::uint32_t doc) { first = doc; });
        std::uint32_t last = first;
        ForEachPosting(bytes, [&last](std::uint32_t doc) { last = doc; });
        if (first <= lastDoc_) {  // not in order after all: one number at a time
            ForEachPosting(bytes, [this](std::uint32_t doc) { AddDoc(doc); });
            return;
        }
        AppendPosting(list_, first - lastDoc_);
        if (firstSize < bytes.size()) list_.append(bytes.substr(firstSize));
        lastDoc_ = last;
    }
    void End(std::string_view word) {
        if (list_.empty()) return;
        out_->chars.append(word);
        AppendEnd(out_->wordEnds, out_->chars.size());
        out_->postings.append(list_);
        AppendEnd(out_->postingEnds, out_->postings.size());
    }
    FrozenWords Finish() {
        FrozenWords words;
        words.arrays_ = FrozenWords::Arrays{out_->wordEnds.data(), out_->postingEnds.data(), out_->chars,
                                            out_->postings, out_->wordEnds.size() / 4};
        words.owned_ = std::move(out_);
        return words;
    }
    void Reserve(std::size_t words, std::size_t chars, std::size_t postings) {
        out_->wordEnds.reserve(4 * words);
        out_->postingEnds.reserve(4 * words);
        out_->chars.reserve(chars);
        out_->postings.reserve(postings);
    }

private:
    const std::vector<std::uint32_t>& renumber_;
    std::unique_ptr<FrozenWords::Owned> out_;
    std::string list_;
    std::uint32_t lastDoc_ = 0;
    bool any_ = false;
};

// One pass over both vocabularies in order. A list of the frozen words whose documents all stay
// with their numbers is copied as it is; a word in both gets the added documents after its own.
FrozenWords MergeWords(const FrozenWords& frozen, const WordCollector& added, const std::vector<std::uint32_t>& renumber) {
    const std::vector<std::uint32_t> ids = added.SortedIds();
    FrozenWordsWriter writer(renumber);
    std::size_t addedChars = 0;
    std::size_t addedPostings = 0;
    for (const std::uint32_t id : ids) {
        addedChars += added.Word(id).size();
        addedPostings += added.Postings(id).size();
    }
    writer.Reserve(frozen.WordCount() + ids.size(), frozen.Data().chars.size() + addedChars,
                   frozen.Data().postings.size() + addedPostings);
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < frozen.WordCount() || j < ids.size()) {
        const bool takeFrozen = j == ids.size() || (i < frozen.WordCount() && frozen.Word(i) <= added.Word(ids[j]));
        const bool takeAdded = i == frozen.WordCount() || (j < ids.size() && added.Word(ids[j]) <= frozen.Word(i));
        writer.Begin();
        std::string_view word;
        if (takeFrozen) {
            word = frozen.Word(i);
            writer.AppendList(frozen.Postings(i++));
        }
        if (takeAdded) {
            word = added.Word(ids[j]);
            writer.AppendList(added.Postings(ids[j++]));
        }
        writer.End(word);
    }
    return writer.Finish();
}

}  // namespace tessera
