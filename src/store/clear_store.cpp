#include "store/clear_store.h"

#include <optional>

#include "store/index_startup.h"
#include "store/store_names.h"

namespace tessera {

// The rows come first, from the last to the first, then whatever plain files the folder still
// holds: files captured since the last save, or items of an index row count that claimed fewer
// rows than the files. A name that is not a plain store file name is treated as a missing file
// and never reaches the file system. A file that cannot be deleted (held open, read-only) stays
// an item, so that the list says what the store holds, and is reported by the caller.
std::vector<std::string> ClearStore(FileSystem& fs, const std::string& storeDir, ClipIndex& index) {
    std::vector<std::string> kept;
    if (fs.DirectoryExists(storeDir)) {
        const auto& rows = index.StoredRows();
        for (auto row = rows.rbegin(); row != rows.rend(); ++row)
            if (const std::optional<std::string> path = StoreFilePath(storeDir, row->cells[1])) fs.RemoveFile(*path);
        for (const std::string& name : fs.ListPlainFiles(storeDir))
            if (const std::optional<std::string> path = StoreFilePath(storeDir, name); path && !fs.RemoveFile(*path))
                kept.push_back(name);
    }
    index.Clear();
    index.SetRowCount(1);
    SortNamesIgnoringCase(kept);
    RebuildIndexFromFiles(kept, index);
    for (std::string& name : kept) name = storeDir + "\\" + name;
    return kept;
}

}  // namespace tessera
