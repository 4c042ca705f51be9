#pragma once
// The search as the program keeps it beside the store: an index of every item, told of each
// change the store makes (capture, rename, edit, deletion, clear), and the items' texts, which a
// build reads on a thread of its own from the search cache and the files that changed since, and
// which the GUI thread adopts as they come. Everything but the build runs on the GUI thread.
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <thread>

#include "search/item_files.h"
#include "search/search_build.h"
#include "search/search_index.h"
#include "store/clip_store.h"
#include "store/file_system.h"

namespace tessera {

class ItemSearch final : private ClipStoreListener {
public:
    // Display names in the program's 8-bit code page, to UTF-8 (names in ASCII are not converted).
    using NameToUtf8 = std::function<std::string(std::string_view)>;

    // Indexes the names of every item of `store` (loaded) and listens to it from now on.
    ItemSearch(ClipStore& store, NameToUtf8 nameToUtf8);
    // Stops the build, waits for it, and stops listening.
    ~ItemSearch() override;
    ItemSearch(const ItemSearch&) = delete;
    ItemSearch& operator=(const ItemSearch&) = delete;

    // Starts the build of the texts on a thread of its own: the cache `cacheFileName` read from
    // `cacheFs`, the files that changed since read through `files`, the cache written again when
    // it changed; `notify` runs on the build's thread after each hand-over (TakeTexts then
    // takes it). `files` and `cacheFs` must allow calls from that thread and outlive the search.
    void StartBuild(ItemFiles& files, FileSystem& cacheFs, std::string cacheFileName, std::function<void()> notify);
    // Adopts the build's latest hand-over, if any: true when the texts changed.
    bool TakeTexts();
    // Whether texts are still being read: a search may miss items whose text is not read yet.
    bool Reading() const noexcept { return reading_; }
    // Waits until the build is over (it ends by itself); the texts are then waiting for TakeTexts.
    void WaitForBuild();

    const SearchIndex& Index() const noexcept { return index_; }

private:
    void ItemAdded(const std::string& fileName, const std::string& displayName) override;
    void ItemRenamed(const std::string& fileName, const std::string& displayName) override;
    void ItemEdited(const std::string& fileName, std::string_view bytes) override;
    void ItemRemoved(const std::string& fileName) override;
    void ItemsCleared() override;
    std::string Utf8Name(std::string_view displayName) const;
    void StopBuild();

    ClipStore& store_;
    NameToUtf8 nameToUtf8_;
    SearchIndex index_;
    std::unique_ptr<SearchFeed> feed_;
    bool reading_ = false;
    bool feedDropped_ = false;  // the store was cleared: what the build still hands over is stale
    std::thread build_;
};

}  // namespace tessera
