#pragma once
// The search over every clip item, as the chooser's search field needs it: a query matches an
// item when each of its words begins a word of the item's display name or text, in any order,
// letter case and accents ignored. Pictures and metafiles have no text: they match by name.
// Items are known by their file names (letter case ignored, as Windows ignores it). Used by one
// thread only, the GUI thread; texts read on another thread arrive as ItemTexts (AdoptTexts).
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "search/item_texts.h"
#include "search/string_table.h"
#include "search/word_postings.h"

namespace tessera {

class SearchResult;

class SearchIndex {
public:
    // An item's number, valid from its Add until its Remove or a Clear.
    using ItemId = std::uint32_t;
    static constexpr ItemId kNoItem = 0xFFFFFFFF;

    // Adds an item (display name in UTF-8) with no text yet, or renames the one of that file name.
    ItemId Add(std::string_view fileName, std::string_view displayName);
    // The item's new display name. Unknown file names are ignored, here and below.
    void Rename(std::string_view fileName, std::string_view displayName);
    // The item's plain text (UTF-8) as just read from its file (after a capture or an edit); it
    // wins over the texts of builds started before.
    void SetText(std::string_view fileName, std::string_view text);
    void Remove(std::string_view fileName);
    // Forgets every item and every text.
    void Clear();
    // Takes the texts a build made (each build's hand-over holds all the earlier ones): they serve
    // the items this index knows whose text was not set by SetText; the others are ignored.
    void AdoptTexts(std::shared_ptr<const ItemTexts> texts);

    // The item of that file name, or kNoItem.
    ItemId Find(std::string_view fileName) const;
    // The item's list line (see SummaryLine): empty for pictures and texts not known yet. Valid
    // until the index changes.
    std::string_view Summary(ItemId id) const;
    // Whether the item has a text to search (set, or adopted), or is still without one.
    bool HasText(ItemId id) const;
    // The items that match `query` (UTF-8); a query without words matches every item.
    SearchResult Search(std::string_view query) const;

    std::size_t ItemCount() const noexcept { return liveItems_; }
    // Bytes held, the adopted texts included.
    std::size_t MemoryBytes() const noexcept;

private:
    enum class TextFrom : std::uint8_t { None, Adopted, Local };
    struct Item {
        std::uint32_t key = 0;      // in keys_
        std::uint32_t name = 0;     // in nameEntries_
        std::uint32_t textDoc = 0;  // in the adopted or the local texts
        TextFrom textFrom = TextFrom::None;
        bool live = false;
    };
    struct NameEntry {
        std::uint32_t end;   // in names_, where the entry's folded words end
        std::uint32_t slot;  // its item, kNoItem once renamed or removed
    };
    static constexpr std::uint32_t kDead = 0xFFFFFFFF;

    // The file name as a key: upper-cased into keyBuffer_.
    std::string_view Key(std::string_view fileName) const;
    ItemId FindKey(std::string_view fileName) const;
    void AddName(ItemId id, std::string_view displayName);
    void DropName(ItemId id);
    void DropText(ItemId id);
    void CompactNames();
    void CompactLocalTexts();
    void MarkNames(std::string_view word, std::vector<std::uint64_t>& bits) const;
    void MarkTexts(std::string_view word, std::vector<std::uint64_t>& bits) const;

    // Item file names upper-cased, and each one's item (kNoItem when removed).
    StringTable keys_;
    std::vector<ItemId> keyItem_;
    mutable std::string keyBuffer_;
    std::vector<Item> items_;
    std::size_t liveItems_ = 0;

    // Display names, folded: each name's words, each after a space, back to back.
    std::string names_;
    std::vector<NameEntry> nameEntries_;
    std::size_t deadNameBytes_ = 0;

    // Texts a build made, and each one's item (kDead when another text replaced it).
    std::shared_ptr<const ItemTexts> adopted_;
    std::vector<std::uint32_t> adoptedItem_;

    // Texts set here: older ones merged and sorted, recent ones collected.
    FrozenWords localFrozen_;
    WordCollector localRecent_;
    std::vector<std::uint32_t> localItem_;  // per local text; kDead once replaced
    std::vector<std::string> localSummary_;
    std::vector<std::uint32_t> localWords_;  // postings per local text
    std::size_t localDeadPostings_ = 0;
    std::size_t localLivePostings_ = 0;
};

// The items a query matched: a bit per item number.
class SearchResult {
public:
    bool Contains(SearchIndex::ItemId id) const noexcept {
        return id < size_ && (bits_[id >> 6] >> (id & 63) & 1) != 0;
    }
    std::size_t Count() const noexcept;

private:
    friend class SearchIndex;
    std::vector<std::uint64_t> bits_;
    std::size_t size_ = 0;
};

}  // namespace tessera
