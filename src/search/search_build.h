#pragma once
// The build of the search's texts, for a background thread: what the search cache still holds
// for files whose size and time did not change, and the text of every other text item read
// from its file. Its partial results reach the GUI thread through a SearchFeed as it goes.
#include <atomic>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "search/item_files.h"
#include "search/item_texts.h"

namespace tessera {

// An item as the build sees it: its file name, and whether it is a text item (pictures and
// metafiles have no text to read).
struct BuildItem {
    std::string fileName;
    bool text = false;
};

// The hand-over from the build's thread to the GUI thread, guarded by one lock. Each hand-over
// holds every text of the earlier ones, so the GUI thread needs only the latest.
class SearchFeed {
public:
    // `notify` is called on the build's thread after each hand-over, outside the lock (to post a
    // message to a GUI window, say); it must not wait for the GUI thread.
    explicit SearchFeed(std::function<void()> notify = {}) : notify_(std::move(notify)) {}

    struct Update {
        std::shared_ptr<const ItemTexts> texts;
        bool last = false;  // the build is over: items without text have none to find
    };
    // Build thread: hands over `texts`.
    void Post(std::shared_ptr<const ItemTexts> texts, bool last);
    // GUI thread: the latest hand-over not taken yet, or nothing.
    std::optional<Update> Take();
    // Either thread: the build stops before its next file (for a clear of the store, or the end
    // of the program) and hands over what it has as its last.
    void Cancel() noexcept { cancelled_ = true; }
    bool Cancelled() const noexcept { return cancelled_; }

private:
    std::mutex mutex_;
    std::optional<Update> waiting_;  // guarded by mutex_
    std::atomic<bool> cancelled_{false};
    std::function<void()> notify_;
};

struct SearchBuildResult {
    std::shared_ptr<const ItemTexts> texts;  // also handed over last
    // Whether the cache must be saved again (as texts->CacheBytes()): false when the old one
    // holds exactly these texts.
    bool cacheChanged = false;
    std::size_t filesRead = 0;
    bool cancelled = false;
};

// Builds the texts of `items` from the old cache's bytes (any bytes, kept as they are when they
// are a cache: pass them with std::move; a cache that cannot be read is ignored) and the files
// that changed since; hands over through `feed` when given. Runs on any one thread; reads files
// through `files` and changes none.
SearchBuildResult BuildSearchTexts(const std::vector<BuildItem>& items, std::string oldCache, ItemFiles& files,
                                   SearchFeed* feed = nullptr);

}  // namespace tessera
