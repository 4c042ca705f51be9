// Writes a store of clip items for the search's benchmarks (see search_store.h):
//   make_search_store DIR [ITEMS] [SEED]      (100000 items, seed 1)
// DIR then holds Clipboard\ with the item files and Tessera.FIC, as beside Tessera.exe.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "search_store.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s DIR [ITEMS] [SEED]\n", argv[0]);
        return 2;
    }
    tessera::bench::StoreOptions options;
    if (argc > 2) options.items = std::atoi(argv[2]);
    if (argc > 3) options.seed = std::strtoull(argv[3], nullptr, 10);
    try {
        const auto items = tessera::bench::MakeSearchStore(argv[1], options);
        std::printf("%zu items written to %s\n", items.size(), argv[1]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
