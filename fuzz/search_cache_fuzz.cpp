// Reads any bytes as the search cache, as they are and as a payload under a valid header (so that
// the checks behind the checksum are reached): a damaged cache is refused or read into texts that
// search and can be merged and saved again; never a crash.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "search/item_texts.h"
#include "search/search_index.h"

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

void Use(std::string_view bytes) {
    auto texts = tessera::DecodeSearchCache(std::string(bytes));
    if (!texts) return;
    // What it read survives being written again through the writer.
    tessera::ItemTextsWriter writer(&*texts);
    if (texts->Count() > 0) writer.Drop(0);
    Check(tessera::DecodeSearchCache(writer.Finish().CacheBytes())->Count() + (texts->Count() > 0) == texts->Count());
    tessera::SearchIndex index;
    for (std::size_t doc = 0; doc < texts->Count() && doc < 8; ++doc) index.Add(texts->FileName(doc), "x");
    index.Add("Texte_001.txt", "x");
    index.AdoptTexts(std::make_shared<const tessera::ItemTexts>(std::move(*texts)));
    for (const char* query : {"a", "e", "x", "te", "0", "\xC3\xA9"}) Check(index.Search(query).Count() <= index.ItemCount());
    for (tessera::SearchIndex::ItemId id = 0; id < 9; ++id) (void)index.Summary(id);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Use(bytes);
    Use(tessera::SealSearchCachePayload(bytes));
    return 0;
}
