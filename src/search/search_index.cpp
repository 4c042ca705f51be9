#include "search/search_index.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <utility>

#include "text/ascii.h"
#include "text/folded_words.h"
#include "text/text_summary.h"

namespace tessera {

namespace {

// Texts set here are collected until they hold this many (document, word) pairs, then merged
// into the sorted part: a capture costs little, and a search never walks a long unsorted list.
constexpr std::size_t kRecentPostings = 1 << 16;
// Dropped names are kept until they are this many bytes and more than half of all.
constexpr std::size_t kDeadNameBytes = 1 << 16;

inline void SetBit(std::vector<std::uint64_t>& bits, std::uint32_t id) { bits[id >> 6] |= std::uint64_t{1} << (id & 63); }

// The query's different words, less those that begin another of them: "adr adresse" asks no
// more than "adresse".
std::vector<std::string> QueryWords(std::string_view query) {
    std::vector<std::string> words;
    FoldedWords reader(query);
    for (std::string_view word; reader.Next(word);) words.emplace_back(word);
    std::sort(words.begin(), words.end());
    std::vector<std::string> kept;
    for (std::size_t i = 0; i < words.size(); ++i)
        if (i + 1 == words.size() || !words[i + 1].starts_with(words[i])) kept.push_back(std::move(words[i]));
    return kept;
}

}  // namespace

std::string_view SearchIndex::Key(std::string_view fileName) const {
    keyBuffer_.assign(fileName);
    for (char& c : keyBuffer_) c = UpperAscii(c);
    return keyBuffer_;
}

SearchIndex::ItemId SearchIndex::FindKey(std::string_view fileName) const {
    const std::uint32_t key = keys_.Find(Key(fileName));
    return key == StringTable::kNone ? kNoItem : keyItem_[key];
}

SearchIndex::ItemId SearchIndex::Find(std::string_view fileName) const { return FindKey(fileName); }

SearchIndex::ItemId SearchIndex::Add(std::string_view fileName, std::string_view displayName) {
    if (const ItemId existing = FindKey(fileName); existing != kNoItem) {
        Rename(fileName, displayName);
        return existing;
    }
    const std::uint32_t key = keys_.Add(keyBuffer_);  // FindKey left the key there
    if (key == keyItem_.size()) keyItem_.push_back(kNoItem);
    const auto id = static_cast<ItemId>(items_.size());
    items_.push_back(Item{key, 0, 0, TextFrom::None, true});
    keyItem_[key] = id;
    ++liveItems_;
    AddName(id, displayName);
    return id;
}

void SearchIndex::Rename(std::string_view fileName, std::string_view displayName) {
    const ItemId id = FindKey(fileName);
    if (id == kNoItem) return;
    DropName(id);
    AddName(id, displayName);
}

void SearchIndex::AddName(ItemId id, std::string_view displayName) {
    FoldedWords words(displayName);
    for (std::string_view word; words.Next(word);) {
        names_ += ' ';
        names_ += word;
    }
    items_[id].name = static_cast<std::uint32_t>(nameEntries_.size());
    nameEntries_.push_back(NameEntry{static_cast<std::uint32_t>(names_.size()), id});
}

void SearchIndex::DropName(ItemId id) {
    const std::uint32_t entry = items_[id].name;
    nameEntries_[entry].slot = kDead;
    deadNameBytes_ += nameEntries_[entry].end - (entry == 0 ? 0 : nameEntries_[entry - 1].end);
    if (deadNameBytes_ > kDeadNameBytes && deadNameBytes_ * 2 > names_.size()) CompactNames();
}

void SearchIndex::CompactNames() {
    std::string names;
    std::vector<NameEntry> entries;
    names.reserve(names_.size() - deadNameBytes_);
    std::uint32_t begin = 0;
    for (const NameEntry& entry : nameEntries_) {
        if (entry.slot != kDead) {
            names.append(names_, begin, entry.end - begin);
            items_[entry.slot].name = static_cast<std::uint32_t>(entries.size());
            entries.push_back(NameEntry{static_cast<std::uint32_t>(names.size()), entry.slot});
        }
        begin = entry.end;
    }
    names_ = std::move(names);
    nameEntries_ = std::move(entries);
    deadNameBytes_ = 0;
}

void SearchIndex::DropText(ItemId id) {
    Item& item = items_[id];
    if (item.textFrom == TextFrom::Adopted) {
        adoptedItem_[item.textDoc] = kDead;
    } else if (item.textFrom == TextFrom::Local) {
        localItem_[item.textDoc] = kDead;
        localDeadPostings_ += localWords_[item.textDoc];
        localLivePostings_ -= localWords_[item.textDoc];
        std::string().swap(localSummary_[item.textDoc]);
    }
    item.textFrom = TextFrom::None;
}

void SearchIndex::SetText(std::string_view fileName, std::string_view text) {
    const ItemId id = FindKey(fileName);
    if (id == kNoItem) return;
    DropText(id);
    const auto doc = static_cast<std::uint32_t>(localItem_.size());
    const std::uint32_t words = localRecent_.AddText(text, doc);
    localItem_.push_back(id);
    localSummary_.push_back(SummaryLine(text));
    localWords_.push_back(words);
    localLivePostings_ += words;
    items_[id].textFrom = TextFrom::Local;
    items_[id].textDoc = doc;
    if (localRecent_.PostingCount() < kRecentPostings) return;
    if (localDeadPostings_ > localLivePostings_) {
        CompactLocalTexts();
    } else {
        localFrozen_ = MergeWords(localFrozen_, localRecent_);
        localRecent_.Clear();
    }
}

// Merges the recent texts into the sorted ones and leaves out the texts replaced since: the
// texts left are numbered again in their order.
void SearchIndex::CompactLocalTexts() {
    std::vector<std::uint32_t> renumber(localItem_.size(), kDroppedDoc);
    std::uint32_t next = 0;
    for (std::size_t doc = 0; doc < localItem_.size(); ++doc) {
        if (localItem_[doc] == kDead) continue;
        renumber[doc] = next;
        localItem_[next] = localItem_[doc];
        localSummary_[next] = std::move(localSummary_[doc]);
        localWords_[next] = localWords_[doc];
        items_[localItem_[next]].textDoc = next;
        ++next;
    }
    localItem_.resize(next);
    localSummary_.resize(next);
    localWords_.resize(next);
    localFrozen_ = MergeWords(localFrozen_, localRecent_, renumber);
    localRecent_.Clear();
    localDeadPostings_ = 0;
}

void SearchIndex::Remove(std::string_view fileName) {
    const ItemId id = FindKey(fileName);
    if (id == kNoItem) return;
    DropName(id);
    DropText(id);
    keyItem_[items_[id].key] = kNoItem;
    items_[id].live = false;
    --liveItems_;
}

void SearchIndex::Clear() { *this = SearchIndex(); }

void SearchIndex::AdoptTexts(std::shared_ptr<const ItemTexts> texts) {
    for (Item& item : items_)
        if (item.textFrom == TextFrom::Adopted) item.textFrom = TextFrom::None;
    adopted_ = std::move(texts);
    adoptedItem_.assign(adopted_ ? adopted_->Count() : 0, kDead);
    for (std::uint32_t doc = 0; doc < adoptedItem_.size(); ++doc) {
        const ItemId id = FindKey(adopted_->FileName(doc));
        if (id == kNoItem || items_[id].textFrom == TextFrom::Local) continue;
        if (items_[id].textFrom == TextFrom::Adopted) adoptedItem_[items_[id].textDoc] = kDead;  // the later wins
        items_[id].textFrom = TextFrom::Adopted;
        items_[id].textDoc = doc;
        adoptedItem_[doc] = id;
    }
}

std::string_view SearchIndex::Summary(ItemId id) const {
    if (id >= items_.size() || !items_[id].live) return {};
    const Item& item = items_[id];
    if (item.textFrom == TextFrom::Adopted) return adopted_->Summary(item.textDoc);
    if (item.textFrom == TextFrom::Local) return localSummary_[item.textDoc];
    return {};
}

bool SearchIndex::HasText(ItemId id) const {
    return id < items_.size() && items_[id].live && items_[id].textFrom != TextFrom::None;
}

// The names are scanned whole: a word begins after a space, and once a name matched the rest of
// it is passed over. Its entries are in the order of their bytes, so one cursor finds the item.
void SearchIndex::MarkNames(std::string_view word, std::vector<std::uint64_t>& bits) const {
    const char* const names = names_.data();
    const std::size_t size = names_.size();
    const char first = word[0];
    std::size_t entry = 0;
    for (std::size_t i = 1; i + word.size() <= size; ++i) {
        if (names[i] != first || names[i - 1] != ' ' || std::memcmp(names + i, word.data(), word.size()) != 0) continue;
        while (nameEntries_[entry].end <= i) ++entry;
        if (nameEntries_[entry].slot != kDead) SetBit(bits, nameEntries_[entry].slot);
        i = nameEntries_[entry].end;
    }
}

void SearchIndex::MarkTexts(std::string_view word, std::vector<std::uint64_t>& bits) const {
    const auto marker = [&bits](const std::vector<std::uint32_t>& itemOf) {
        return [&bits, &itemOf](std::uint32_t doc) {
            if (doc < itemOf.size() && itemOf[doc] != kDead) SetBit(bits, itemOf[doc]);
        };
    };
    if (adopted_) adopted_->Words().ForEachWithPrefix(word, marker(adoptedItem_));
    localFrozen_.ForEachWithPrefix(word, marker(localItem_));
    localRecent_.ForEachWithPrefix(word, marker(localItem_));
}

SearchResult SearchIndex::Search(std::string_view query) const {
    SearchResult result;
    result.size_ = items_.size();
    result.bits_.assign((items_.size() + 63) / 64, 0);
    const std::vector<std::string> words = QueryWords(query);
    if (words.empty()) {
        for (ItemId id = 0; id < items_.size(); ++id)
            if (items_[id].live) SetBit(result.bits_, id);
        return result;
    }
    std::vector<std::uint64_t> bits(result.bits_.size());
    for (std::size_t w = 0; w < words.size(); ++w) {
        std::fill(bits.begin(), bits.end(), 0);
        MarkNames(words[w], bits);
        MarkTexts(words[w], bits);
        if (w == 0) {
            result.bits_.swap(bits);
        } else {
            for (std::size_t i = 0; i < bits.size(); ++i) result.bits_[i] &= bits[i];
        }
    }
    return result;
}

std::size_t SearchIndex::MemoryBytes() const noexcept {
    std::size_t bytes = keys_.MemoryBytes() + keyItem_.capacity() * sizeof(ItemId) + items_.capacity() * sizeof(Item) +
                        names_.capacity() + nameEntries_.capacity() * sizeof(NameEntry) +
                        adoptedItem_.capacity() * sizeof(std::uint32_t) + localFrozen_.MemoryBytes() +
                        localRecent_.MemoryBytes() + (localItem_.capacity() + localWords_.capacity()) * sizeof(std::uint32_t) +
                        localSummary_.capacity() * sizeof(std::string);
    for (const std::string& summary : localSummary_)
        if (summary.capacity() > 15) bytes += summary.capacity() + 1;
    if (adopted_) bytes += adopted_->MemoryBytes();
    return bytes;
}

std::size_t SearchResult::Count() const noexcept {
    std::size_t count = 0;
    for (const std::uint64_t word : bits_) count += static_cast<std::size_t>(std::popcount(word));
    return count;
}

}  // namespace tessera
