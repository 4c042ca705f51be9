#include "search/search_build.h"

#include <chrono>
#include <unordered_map>

#include "text/ascii.h"
#include "text/rtf_text.h"

namespace tessera {

void SearchFeed::Post(std::shared_ptr<const ItemTexts> texts, bool last) {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        waiting_ = Update{std::move(texts), last};
    }
    if (notify_) notify_();
}

std::optional<SearchFeed::Update> SearchFeed::Take() {
    const std::lock_guard<std::mutex> lock(mutex_);
    std::optional<Update> update = std::move(waiting_);
    waiting_.reset();
    return update;
}

namespace {

// A hand-over merges everything read so far into new texts, a cost that grows with the store:
// it comes when the texts read since the last one hold half as many words as those before (so
// the merges add up to about twice the final size), or, on a slow disk, when a wait that
// doubles each time (1 s, 2 s, 4 s...) is over, so that the user sees progress without the
// merges outgrowing the reading.
constexpr std::size_t kFirstHandOverPostings = 1 << 16;
constexpr auto kFirstHandOverWait = std::chrono::seconds(1);

std::size_t PostingBytes(const std::shared_ptr<const ItemTexts>& texts) {
    return texts ? texts->Words().Data().postings.size() : 0;
}

}  // namespace

// The cache's texts come first (handed over at once: the search covers them while the files'
// stamps are checked); those of files gone, changed or no longer text items are dropped; the
// other text items are read, in the order given.
SearchBuildResult BuildSearchTexts(const std::vector<BuildItem>& items, std::string oldCache, ItemFiles& files,
                                   SearchFeed* feed) {
    SearchBuildResult result;
    std::unordered_map<std::string, std::size_t> wanted;
    for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i].text) wanted.emplace(UpperAscii(items[i].fileName), i);

    std::shared_ptr<const ItemTexts> base;
    if (auto decoded = DecodeSearchCache(std::move(oldCache))) {
        base = std::make_shared<const ItemTexts>(std::move(*decoded));
        if (feed && base->Count() > 0) feed->Post(base, false);
    }
    bool changed = !base;

    std::vector<std::optional<FileStamp>> stamps(items.size());
    if (auto listing = files.ListStamps()) {
        // Looked up name by name: a map of the whole listing would cost as much memory again.
        for (const auto& [name, stamp] : *listing)
            if (const auto it = wanted.find(UpperAscii(name)); it != wanted.end()) stamps[it->second] = stamp;
    } else {
        for (const auto& [name, i] : wanted) {
            if (feed && feed->Cancelled()) break;
            stamps[i] = files.Stamp(items[i].fileName);
        }
    }

    std::vector<bool> done(items.size(), false);
    ItemTextsWriter writer(base.get());
    for (std::size_t doc = 0; base && doc < base->Count(); ++doc) {
        const auto it = wanted.find(UpperAscii(base->FileName(doc)));
        if (it == wanted.end() || done[it->second] || stamps[it->second] != base->Stamp(doc)) {
            writer.Drop(doc);
            changed = true;
        } else {
            done[it->second] = true;
        }
    }

    auto nextHandOver = std::chrono::steady_clock::now() + kFirstHandOverWait;
    auto wait = std::chrono::steady_clock::duration(kFirstHandOverWait);
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (!items[i].text || done[i] || !stamps[i]) continue;
        done[i] = true;  // a name given twice is read once
        if (feed && feed->Cancelled()) {
            result.cancelled = true;
            break;
        }
        const std::optional<std::string> bytes = files.Read(items[i].fileName);
        if (!bytes) continue;  // read again at the next build
        writer.Add(items[i].fileName, *stamps[i], RtfToText(*bytes));
        ++result.filesRead;
        changed = true;
        const auto now = std::chrono::steady_clock::now();
        const bool timeIsUp = now >= nextHandOver;
        if (feed && (timeIsUp || writer.AddedPostings() >= std::max(kFirstHandOverPostings, PostingBytes(base) / 2))) {
            base = std::make_shared<const ItemTexts>(writer.Finish());
            writer = ItemTextsWriter(base.get());
            feed->Post(base, false);
            if (timeIsUp) wait *= 2;
            nextHandOver = std::chrono::steady_clock::now() + wait;
        }
    }

    result.texts = changed || !base ? std::make_shared<const ItemTexts>(writer.Finish()) : base;
    result.cacheChanged = changed;
    if (feed) feed->Post(result.texts, true);
    return result;
}

}  // namespace tessera
