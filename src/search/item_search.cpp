#include "search/item_search.h"

#include <utility>
#include <vector>

#include "store/store_names.h"
#include "text/rtf_text.h"

namespace tessera {

ItemSearch::ItemSearch(ClipStore& store, NameToUtf8 nameToUtf8) : store_(store), nameToUtf8_(std::move(nameToUtf8)) {
    const int items = store_.ItemCount();
    for (int row = 0; row < items; ++row) index_.Add(store_.FileName(row), Utf8Name(store_.DisplayName(row)));
    store_.SetListener(this);
}

ItemSearch::~ItemSearch() {
    store_.SetListener(nullptr);
    StopBuild();
}

void ItemSearch::StopBuild() {
    if (feed_) feed_->Cancel();
    if (build_.joinable()) build_.join();
}

std::string ItemSearch::Utf8Name(std::string_view displayName) const {
    for (const char c : displayName)
        if (static_cast<unsigned char>(c) >= 0x80) return nameToUtf8_ ? nameToUtf8_(displayName) : std::string(displayName);
    return std::string(displayName);
}

// The build takes the items as they are now; what changes meanwhile reaches the index through
// the store's notices, and texts set that way win over the build's. A build cancelled by a clear
// writes no cache: its files are gone. Nothing of it may stop the program: a failure ends the
// reading, and the cache is made again at the next start.
void ItemSearch::StartBuild(ItemFiles& files, FileSystem& cacheFs, std::string cacheFileName,
                            std::function<void()> notify) {
    StopBuild();
    std::vector<BuildItem> items;
    const int count = store_.ItemCount();
    items.reserve(static_cast<std::size_t>(count));
    for (int row = 0; row < count; ++row) {
        const std::string& fileName = store_.FileName(row);
        items.push_back({fileName, IsTextItemFileName(fileName)});
    }
    feed_ = std::make_unique<SearchFeed>(std::move(notify));
    reading_ = true;
    feedDropped_ = false;
    build_ = std::thread([items = std::move(items), &files, &cacheFs, cacheFileName = std::move(cacheFileName),
                          feed = feed_.get()] {
        try {
            const SearchBuildResult built =
                BuildSearchTexts(items, cacheFs.ReadAll(cacheFileName).value_or(std::string()), files, feed);
            if (built.cacheChanged && !built.cancelled) cacheFs.ReplaceContents(cacheFileName, built.texts->CacheBytes());
        } catch (...) {
            feed->Post(nullptr, true);
        }
    });
}

bool ItemSearch::TakeTexts() {
    if (!feed_) return false;
    std::optional<SearchFeed::Update> update = feed_->Take();
    if (!update || feedDropped_) return false;
    if (update->last) reading_ = false;
    if (!update->texts) return false;
    index_.AdoptTexts(std::move(update->texts));
    return true;
}

void ItemSearch::WaitForBuild() {
    if (build_.joinable()) build_.join();
}

// A capture's text is read back from the file just written: the writer made it from the
// clipboard, and the search takes it as the build would.
void ItemSearch::ItemAdded(const std::string& fileName, const std::string& displayName) {
    index_.Add(fileName, Utf8Name(displayName));
    if (!IsTextItemFileName(fileName)) return;
    if (const std::optional<std::string> bytes = store_.ReadItemFile(fileName)) index_.SetText(fileName, RtfToText(*bytes));
}

void ItemSearch::ItemRenamed(const std::string& fileName, const std::string& displayName) {
    index_.Rename(fileName, Utf8Name(displayName));
}

void ItemSearch::ItemEdited(const std::string& fileName, std::string_view bytes) {
    index_.SetText(fileName, RtfToText(bytes));
}

void ItemSearch::ItemRemoved(const std::string& fileName) { index_.Remove(fileName); }

// The build still running reads files that are gone: it stops, and what it hands over is left.
void ItemSearch::ItemsCleared() {
    if (feed_) {
        feed_->Cancel();
        feed_->Take();
    }
    feedDropped_ = true;
    reading_ = false;
    index_.Clear();
}

}  // namespace tessera
