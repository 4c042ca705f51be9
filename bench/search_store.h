#pragma once
// A store folder for the search's benchmarks, made from Debian's French and English word lists
// (/usr/share/dict/french and american-english): texts of realistic lengths written as the
// rich-edit control writes them, 2 % pictures, some items renamed, and the index file
// Tessera.FIC naming them all. Used by the native benchmark and, through make_search_store,
// by any benchmark under Wine.
#include <cstdint>
#include <string>
#include <vector>

namespace tessera::bench {

struct StoreItem {
    std::string fileName;
    std::string displayName;  // UTF-8 (the index file holds it in code page 1252)
    bool text = false;
};

struct StoreOptions {
    int items = 100000;
    std::uint64_t seed = 1;
    double pictureShare = 0.02;
    double renamedShare = 0.10;
};

// Writes the store into `dir` (made if missing; its Clipboard folder holds the items) and
// returns the items in capture order. Throws std::runtime_error when a word list or a file
// cannot be read or written.
std::vector<StoreItem> MakeSearchStore(const std::string& dir, const StoreOptions& options = {});

// The items of a store made before, read back from its index file.
std::vector<StoreItem> ReadSearchStore(const std::string& dir);

}  // namespace tessera::bench
