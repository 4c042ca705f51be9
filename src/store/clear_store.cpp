#include "store/clear_store.h"

#include <optional>

#include "store/store_names.h"

namespace tessera {

// Files go from the last item to the first. A file that cannot be deleted stays, silently: the
// user asked for an empty store, and the index is emptied all the same. A name that is not a
// plain store file name is treated as a missing file and never reaches the file system.
void ClearStore(FileSystem& fs, const std::string& storeDir, ClipIndex& index, int itemCount) {
    if (itemCount > 0 && fs.DirectoryExists(storeDir)) {
        const auto& rows = index.StoredRows();
        for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
            if (row->index >= itemCount) continue;
            if (const std::optional<std::string> path = StoreFilePath(storeDir, row->cells[1])) fs.RemoveFile(*path);
        }
    }
    index.Clear();
    index.SetRowCount(1);
}

}  // namespace tessera
