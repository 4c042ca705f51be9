#pragma once
// The clip store: the item files of the store folder, the clip index that lists them (`grid`)
// and the index file that keeps it across starts. Made once by start-up and handed by reference
// to the forms that show or change it.
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/capture.h"
#include "store/clip_index.h"
#include "store/file_system.h"
#include "store/index_startup.h"
#include "store/store_listing.h"

namespace tessera {

class ClipStore {
public:
    // `storeDir` without its trailing backslash.
    ClipStore(FileSystem& fs, std::string storeDir, std::string indexFileName);
    ClipStore(const ClipStore&) = delete;
    ClipStore& operator=(const ClipStore&) = delete;

    // The clip index: row i is item i, as the chooser's list shows it from its first showing on.
    ClipIndex grid;

    FileSystem& Files() noexcept { return fs_; }
    const std::string& StoreDir() const noexcept { return storeDir_; }
    const std::string& IndexFileName() const noexcept { return indexFileName_; }

    // Makes the store folder (and its parents) when it is missing; whether that worked is
    // asked of FolderExists.
    void MakeFolder();
    bool FolderExists();

    // Start-up: the index file read, or the index rebuilt from the folder's files. The folder
    // is then listed in the background for the first showing, where it can be watched.
    IndexStartup Load();
    // Files the clipboard's first supported kind as a new item; its display name, or nothing
    // when nothing was filed. Throws the "cannot create" error when its file cannot be made.
    std::optional<std::string> Capture(const ClipboardFormats& formats, ClipWriter& writer,
                                       std::string_view textPrefix);
    // Makes the index file say what the index holds. Throws "Cannot Create " + path.
    void Save();
    // Deletes every item file and the index file; the paths of those that could not be deleted
    // (their items stay listed).
    std::vector<std::string> Clear();

    // The item's file, or nothing for a name that is not a plain store file name.
    std::optional<std::string> ItemPath(int row) const;
    // Whether the item's file is there (a name that is not a plain store file name is not).
    bool ItemFileExists(int row);
    // Drops the rows whose files are gone, as if the first such row were removed until none is.
    // The folder is listed again only when its watch cannot say what changed since last time.
    void DropStaleRows();
    // The number of items the index lists (none for the empty index).
    int ItemCount() const noexcept { return grid.IsEmpty() ? 0 : grid.RowCount(); }
    // Deletes the item's file (a failure is ignored) and its row.
    void RemoveItem(int row);
    // The item's new display name; its file keeps its name.
    void Rename(int row, std::string_view displayName);

private:
    FolderWatch* Watch();
    void ListInBackground();
    const StoreListing& CurrentListing();

    FileSystem& fs_;
    std::string storeDir_;
    std::string indexFileName_;
    // The store folder's files as last listed, kept current between listings by the watch.
    std::optional<StoreListing> listing_;
    std::unique_ptr<FolderWatch> watch_;
    bool watchAsked_ = false;
    std::future<StoreListing> backgroundListing_;  // declared last: waited for first when destroyed
};

}  // namespace tessera
