#pragma once
// The clip store: the item files of the store folder, the clip index that lists them (`grid`) and
// the index file that keeps it across starts. Made once by start-up, which claims the folder for
// its process; every change it makes is on disk at once, and it alone changes the index.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/background_listing.h"
#include "store/capture.h"
#include "store/clip_index.h"
#include "store/copy_marks.h"
#include "store/file_system.h"
#include "store/index_startup.h"
#include "store/index_writer.h"
#include "store/store_listing.h"
#include "store/store_user.h"

namespace tessera {

// Hears of each change of the items as the store makes it, on the thread that asked for it, once
// the change is on disk (the index file follows in the background). Names are the index's own.
class ClipStoreListener {
public:
    virtual ~ClipStoreListener() = default;
    // A capture, or a file no row named taken in as an item.
    virtual void ItemAdded(const std::string& fileName, const std::string& displayName) = 0;
    virtual void ItemRenamed(const std::string& fileName, const std::string& displayName) = 0;
    // The item file's new content, as the preview's edit wrote it.
    virtual void ItemEdited(const std::string& fileName, std::string_view bytes) = 0;
    // Deleted, forgotten, or dropped as its file went.
    virtual void ItemRemoved(const std::string& fileName) = 0;
    // Every item went; those whose files could not be deleted follow as ItemAdded.
    virtual void ItemsCleared() = 0;
};

class ClipStore {
public:
    // `storeDir` without its trailing backslash. With `writes` in the background, a change costs
    // the window's thread no more than its index's bytes.
    ClipStore(FileSystem& fs, std::string storeDir, std::string indexFileName,
              IndexWriter::Mode writes = IndexWriter::Mode::AtOnce);
    ClipStore(const ClipStore&) = delete;
    ClipStore& operator=(const ClipStore&) = delete;
    ~ClipStore();

    FileSystem& Files() noexcept { return fs_; }
    const std::string& StoreDir() const noexcept { return storeDir_; }
    const std::string& IndexFileName() const noexcept { return indexFileName_; }
    // Beside the store folder, named after it: held while this process uses the store.
    std::string LockFileName() const { return storeDir_ + ".lock"; }

    // Claims the store for `me`: the lock taken, then the folder made when it is missing.
    struct Claim {
        enum class Outcome { Ours, FolderMissing, UsedHere, UsedElsewhere };
        Outcome outcome = Outcome::Ours;
        StoreUser user;  // who uses it, when another Tessera does
    };
    Claim Open(const StoreUser& me);
    bool FolderExists();

    // Start-up: the index file read, or the index rebuilt from the folder's files. Files that no
    // row names (captured after the index was last written, or put there by hand) become items
    // after the others once the folder has been listed, at the latest when the items are next
    // asked for.
    IndexStartup Load();

    // The items, as the chooser lists them (none for the empty index).
    int ItemCount();
    const std::string& DisplayName(int row) const { return grid.DisplayName(row); }
    const std::string& FileName(int row) const { return grid.FileName(row); }
    // The item's file, or nothing for a name that is not a plain store file name.
    std::optional<std::string> ItemPath(int row) const;

    // Files the clipboard's first supported kind as a new item, making the folder again when it
    // went; its display name, or nothing when nothing was filed. Throws CannotCreateError when
    // the folder or the item's file cannot be made.
    std::optional<std::string> Capture(const ClipboardFormats& formats, ClipWriter& writer,
                                       std::string_view textPrefix);
    // Files a copy the user did not ask to keep as Capture does, unless its owner marked it not for
    // history, it changed while it was read, or it repeats the newest item: then nothing is written.
    std::optional<std::string> CaptureCopy(const ClipboardFormats& formats, const ClipboardMarks& marks,
                                           ClipWriter& writer, std::string_view textPrefix);
    // The item's new display name; its file keeps its name.
    void Rename(int row, std::string_view displayName);
    // Deletes the item's file (a failure is ignored) and its row.
    void RemoveItem(int row);
    // Drops the row of an item whose file is gone.
    void ForgetItem(int row);
    // RemoveItem of the item whose file is `fileName`, when there is one.
    void RemoveItemNamed(std::string_view fileName);
    // Drops the rows whose files are gone, as if the first such row were removed until none is;
    // none while the folder itself is missing (moved away, a share offline). Quick when the
    // folder's watch says what changed, however many names. When the folder must be listed first
    // (its watch lost track of it, or start-up's listing is not done), with `ready` it returns
    // false at once and `ready` runs, on another thread, when the listing is there (a call after
    // that drops the rows); without, it waits for the listing.
    bool DropStaleRows(const std::function<void()>& ready = nullptr);
    // The content of the item file `fileName`, or nothing when it cannot be read.
    std::optional<std::string> ReadItemFile(const std::string& fileName);
    // Replaces the content of the item file `fileName` while that file is there.
    bool ReplaceItemFile(const std::string& fileName, std::string_view bytes);
    // Deletes every item file and the index file; the paths of those that could not be deleted
    // (their items stay listed).
    std::vector<std::string> Clear();

    // Tells `listener` of every change from now on (null: nobody); it must outlive the store or be
    // taken back first.
    void SetListener(ClipStoreListener* listener) noexcept { listener_ = listener; }

    // Waits until the index file says what the index holds; the failure's text, if it cannot.
    std::optional<std::string> Flush() { return writer_.Flush(); }
    // A write of the index file failed (called from the writer's thread in the background); the
    // text is asked of TakeWriteFailure.
    void SetWriteFailureHandler(std::function<void()> handler) { writer_.OnFailure = std::move(handler); }
    std::optional<std::string> TakeWriteFailure() { return writer_.TakeFailure(); }

private:
    friend struct ClipStoreProbe;  // the tests' view of the index

    FolderWatch* Watch();
    // Adopts the files no row names, once the first listing is there (waited for when asked).
    void SettleStartup();
    // Takes a listing made in the background, adopting at start-up; false when there is none.
    bool TakeListing();
    void Adopt(std::vector<std::string> unnamed);
    // The file names the index holds.
    std::vector<std::string> NamedFiles() const;
    // Brings listing_ up to date: false while a listing is made in the background.
    bool UpdateListing(const std::function<void()>& ready);
    std::optional<std::string> File(const ClipboardFormats& formats, ClipWriter& writer, std::string_view textPrefix,
                                    std::function<bool(ClipKind, const ClipFileContent&)> accept);
    // Whether the newest item is of `kind` and its file holds exactly `bytes`.
    bool IsNewestItem(ClipKind kind, std::string_view bytes);
    // Hands the index's new state to the writer.
    void Persist();

    FileSystem& fs_;
    ClipStoreListener* listener_ = nullptr;
    std::string storeDir_;
    std::string indexFileName_;
    // The clip index: row i is item i, as the chooser's list shows it from its first showing on.
    ClipIndex grid;
    IndexWriter writer_;
    std::unique_ptr<FileLock> lock_;
    bool adoptPending_ = false;
    // The store folder's files as last listed, kept current between listings by the watch.
    std::optional<StoreListing> listing_;
    std::unique_ptr<FolderWatch> watch_;
    bool watchAsked_ = false;
    BackgroundListing listingJob_;  // declared last: waited for first when destroyed
};

}  // namespace tessera
