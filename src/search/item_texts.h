#pragma once
// What the search knows of the text items' files: per file its name, size and time, the line
// the list shows for it, and the folded words of all of them. A build makes it, the search cache
// keeps it between starts, and the search index adopts it; once made it never changes, so one
// made on a background thread can be handed to the GUI thread as it is.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "search/word_postings.h"

namespace tessera {

// A file's size and last-write time as the file system reports them (the unit of the time is
// the file system's own: only equality counts).
struct FileStamp {
    std::uint64_t size = 0;
    std::int64_t time = 0;
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// Held as the search cache's bytes themselves: reading a cache copies nothing, and saving one
// writes CacheBytes() as they are.
class ItemTexts {
public:
    // No texts.
    ItemTexts();
    ItemTexts(ItemTexts&&) noexcept = default;
    ItemTexts& operator=(ItemTexts&&) noexcept = default;

    // Documents are the texts, numbered from 0.
    std::size_t Count() const noexcept { return count_; }
    std::string_view FileName(std::size_t doc) const noexcept { return Slice(fileNames_, fileNameEnds_, doc); }
    std::string_view Summary(std::size_t doc) const noexcept { return Slice(summaries_, summaryEnds_, doc); }
    FileStamp Stamp(std::size_t doc) const noexcept;
    const FrozenWords& Words() const noexcept { return words_; }
    // The search cache's bytes for these texts.
    const std::string& CacheBytes() const noexcept { return *bytes_; }
    std::size_t MemoryBytes() const noexcept { return bytes_->capacity(); }

private:
    friend std::optional<ItemTexts> DecodeSearchCache(std::string bytes);
    friend class ItemTextsWriter;
    // Points the views into bytes_ once its checksum is known to be right; false when its
    // lengths, ends or order are wrong.
    bool Index();

    static std::string_view Slice(std::string_view bytes, const char* ends, std::size_t i) noexcept {
        const std::uint32_t begin = i == 0 ? 0 : LoadEnd(ends, i - 1);
        return std::string_view(bytes.data() + begin, LoadEnd(ends, i) - begin);
    }

    std::unique_ptr<const std::string> bytes_;  // on the heap: the views below stay valid when moved
    std::size_t count_ = 0;
    const char* fileNameEnds_ = nullptr;
    std::string_view fileNames_;
    const char* summaryEnds_ = nullptr;
    std::string_view summaries_;
    const char* stamps_ = nullptr;
    FrozenWords words_;
};

// Makes a new ItemTexts from some documents of an old one and new texts.
class ItemTextsWriter {
public:
    // Starts from `base`'s documents, all kept (Drop takes some out); `base` must outlive it.
    explicit ItemTextsWriter(const ItemTexts* base = nullptr);
    // Leaves out base document `doc` of what Finish makes.
    void Drop(std::size_t doc);
    // A new document: the file's name and stamp, and its plain text (UTF-8).
    void Add(std::string_view fileName, const FileStamp& stamp, std::string_view text);
    // Documents added since the start.
    std::size_t AddedCount() const noexcept { return stamps_.size(); }
    std::size_t AddedPostings() const noexcept { return words_.PostingCount(); }
    // The base's kept documents, then the added ones, in that order.
    ItemTexts Finish() const;

private:
    const ItemTexts* base_;
    std::vector<bool> dropped_;
    std::string fileNames_;
    std::vector<std::uint32_t> fileNameEnds_;
    std::string summaries_;
    std::vector<std::uint32_t> summaryEnds_;
    std::vector<FileStamp> stamps_;
    WordCollector words_;
};

// The texts the cache's bytes hold (kept as they are); nothing for bytes that are damaged,
// truncated, foreign or of another version (the cache is then made again).
std::optional<ItemTexts> DecodeSearchCache(std::string bytes);
// The cache's bytes for a payload given as it is, under a header made for it (for tests and
// fuzzing, to reach the checks behind the checksum).
std::string SealSearchCachePayload(std::string_view payload);

}  // namespace tessera
