#include "store/clip_store.h"

#include <chrono>
#include <system_error>
#include <utility>

#include "store/clear_store.h"
#include "store/index_file.h"
#include "store/item_numbering.h"
#include "store/store_folder.h"
#include "store/store_names.h"
#include "text/ascii.h"

namespace tessera {

ClipStore::ClipStore(FileSystem& fs, std::string storeDir, std::string indexFileName, IndexWriter::Mode writes)
    : fs_(fs),
      storeDir_(std::move(storeDir)),
      indexFileName_(std::move(indexFileName)),
      writer_(fs_, indexFileName_, writes) {}

// The listing is waited for before the writer and the lock go (it is declared last).
ClipStore::~ClipStore() = default;

// The lock comes first: a store another Tessera uses is not touched at all, not even to make its
// folder. A lock that cannot be made (a folder that cannot be written) does not stop the program:
// it then runs as it did before there were locks.
ClipStore::Claim ClipStore::Open(const StoreUser& me) {
    LockAttempt attempt = fs_.LockFile(LockFileName(), DescribeStoreUser(me));
    if (attempt.heldBy) {
        const std::optional<StoreUser> user = ReadStoreUser(*attempt.heldBy);
        if (user && !EqualsIgnoringCase(user->computer, me.computer)) return {Claim::Outcome::UsedElsewhere, *user};
        return {Claim::Outcome::UsedHere, user.value_or(StoreUser{})};
    }
    lock_ = std::move(attempt.lock);
    if (!FolderExists()) ForceDirectories(fs_, storeDir_);
    return {FolderExists() ? Claim::Outcome::Ours : Claim::Outcome::FolderMissing, {}};
}

bool ClipStore::FolderExists() { return fs_.DirectoryExists(storeDir_); }

// An index rebuilt from the folder is written at once, so that it says what the chooser will show.
// An index file that could not be read is left alone: writing over it would fail the same way.
IndexStartup ClipStore::Load() {
    const bool indexFileThere = fs_.FileExists(indexFileName_);
    IndexStartup startup = LoadIndexAtStart(fs_, indexFileName_, storeDir_, grid);
    adoptPending_ = indexFileThere && !startup.loadError;
    // Rows that name no file (a damaged index may claim two billion) would go at the first showing;
    // they go now, before the search and the list walk the rows one by one.
    const bool nameless = grid.RemoveRowsWhere([](const std::string&, const std::string& fileName) {
        return fileName.empty();
    }) > 0;
    if ((nameless || !adoptPending_) && !startup.loadError && !grid.IsEmpty()) Persist();
    // The first showing would otherwise list the folder while the user waits. The watch starts
    // first, so that whatever changes while the listing is made is reported at that showing.
    // Without a watch the listing would be out of date by then: the showing lists.
    if (Watch()) {
        watch_->TakeChanges();
        listingJob_.Start(fs_, storeDir_, adoptPending_ ? std::optional(NamedFiles()) : std::nullopt);
    }
    return startup;
}

int ClipStore::ItemCount() {
    if (grid.IsEmpty()) SettleStartup();
    return grid.IsEmpty() ? 0 : grid.RowCount();
}

std::optional<std::string> ClipStore::ItemPath(int row) const { return StoreFilePath(storeDir_, grid.FileName(row)); }

std::optional<std::string> ClipStore::Capture(const ClipboardFormats& formats, ClipWriter& writer,
                                              std::string_view textPrefix) {
    return File(formats, writer, textPrefix, nullptr);
}

// The marks are read before the content, and the clipboard's change count after it: content that
// changed in between may be another program's copy, marked or not, and is judged at its own
// change. A repeat is told by the bytes the new file would hold, before that file exists.
std::optional<std::string> ClipStore::CaptureCopy(const ClipboardFormats& formats, const ClipboardMarks& marks,
                                                  ClipWriter& writer, std::string_view textPrefix) {
    const std::uint32_t change = marks.ChangeCount();
    if (MarkedNotForHistory(marks)) return std::nullopt;
    return File(formats, writer, textPrefix, [&](ClipKind kind, const ClipFileContent& content) {
        return content.status == ClipFileContent::Status::Ready && marks.ChangeCount() == change &&
               !IsNewestItem(kind, content.bytes);
    });
}

bool ClipStore::IsNewestItem(ClipKind kind, std::string_view bytes) {
    if (grid.IsEmpty()) return false;
    const std::string fileName = grid.FileName(grid.RowCount() - 1);
    const std::string_view extension = ClipKindExtension(kind);
    if (fileName.size() < extension.size() ||
        !EqualsIgnoringCase(std::string_view(fileName).substr(fileName.size() - extension.size()), extension))
        return false;
    const std::optional<std::string> newest = ReadItemFile(fileName);
    return newest && *newest == bytes;
}

// Files found after start-up go before any capture: the capture is the newest item. A folder that
// went away (moved, deleted by hand) is made again, so that what the user copies is kept.
std::optional<std::string> ClipStore::File(const ClipboardFormats& formats, ClipWriter& writer,
                                           std::string_view textPrefix,
                                           std::function<bool(ClipKind, const ClipFileContent&)> accept) {
    if (!ChooseClipKind(formats)) return std::nullopt;
    SettleStartup();
    if (!FolderExists()) {
        ForceDirectories(fs_, storeDir_);
        if (!FolderExists()) throw CannotCreateError(CannotCreateError::Kind::Folder, storeDir_);
    }
    const CaptureRequest request{storeDir_, std::string(textPrefix), std::move(accept)};
    std::optional<std::string> added = CaptureClipboard(request, formats, grid, writer, fs_);
    if (!added) return added;
    Persist();
    if (listener_) listener_->ItemAdded(grid.FileName(grid.RowCount() - 1), *added);
    return added;
}

void ClipStore::Rename(int row, std::string_view displayName) {
    if (row < 0 || row >= grid.RowCount()) return;
    grid.SetCell(ClipIndex::kDisplayNameColumn, row, displayName);
    Persist();
    if (listener_) listener_->ItemRenamed(grid.FileName(row), grid.DisplayName(row));
}

void ClipStore::RemoveItem(int row) {
    if (const std::optional<std::string> path = ItemPath(row)) fs_.RemoveFile(*path);
    ForgetItem(row);
}

// Looked for from the newest: the item asked for is one of the last.
void ClipStore::RemoveItemNamed(std::string_view fileName) {
    for (int row = ItemCount() - 1; row >= 0; --row)
        if (grid.FileName(row) == fileName) return RemoveItem(row);
}

void ClipStore::ForgetItem(int row) {
    const std::string fileName = grid.FileName(row);
    grid.RemoveRow(row);
    Persist();
    if (listener_) listener_->ItemRemoved(fileName);
}

std::optional<std::string> ClipStore::ReadItemFile(const std::string& fileName) {
    const std::optional<std::string> path = StoreFilePath(storeDir_, fileName);
    return path ? fs_.ReadAll(*path) : std::nullopt;
}

bool ClipStore::ReplaceItemFile(const std::string& fileName, std::string_view bytes) {
    const std::optional<std::string> path = StoreFilePath(storeDir_, fileName);
    if (!path || !fs_.FileExists(*path) || !fs_.ReplaceContents(*path, bytes)) return false;
    if (listener_) listener_->ItemEdited(fileName, bytes);
    return true;
}

// The index keeps what could not be deleted; the index file says so, or goes with the rest.
std::vector<std::string> ClipStore::Clear() {
    SettleStartup();
    std::vector<std::string> kept = ClearStore(fs_, storeDir_, grid);
    Persist();
    if (writer_.Flush()) kept.push_back(indexFileName_);
    if (listener_) {
        listener_->ItemsCleared();
        for (const ClipIndex::StoredRow& row : grid.StoredRows())
            listener_->ItemAdded(row.cells[ClipIndex::kFileNameColumn], row.cells[ClipIndex::kDisplayNameColumn]);
    }
    return kept;
}

FolderWatch* ClipStore::Watch() {
    if (!watchAsked_) {
        watchAsked_ = true;
        watch_ = fs_.WatchFolder(storeDir_);
    }
    return watch_.get();
}

void ClipStore::SettleStartup() {
    if (!adoptPending_ || TakeListing()) return;
    std::vector<std::string> plainFiles;
    if (Watch()) watch_->TakeChanges();
    listing_.emplace(fs_, storeDir_, &plainFiles);
    Adopt(UnnamedFiles(std::move(plainFiles), NamedFiles()));
}

bool ClipStore::TakeListing() {
    if (!listingJob_.Running()) return false;
    BackgroundListing::Result made = listingJob_.Take();
    listing_.emplace(std::move(made.listing));
    if (adoptPending_) Adopt(std::move(made.unnamed));
    return true;
}

std::vector<std::string> ClipStore::NamedFiles() const {
    std::vector<std::string> named;
    named.reserve(grid.StoredRows().size());
    for (const ClipIndex::StoredRow& row : grid.StoredRows()) named.push_back(row.cells[ClipIndex::kFileNameColumn]);
    return named;
}

// After a crash the captures made since the index was last written are files it does not name;
// so are files put in the folder by hand. They follow the named items in the order of their
// numbers, as they were captured. They are found in the background from the names the index held
// at start-up, which still hold: a capture waits for that listing, and a rename or a deletion in
// the chooser makes no file that no row names.
void ClipStore::Adopt(std::vector<std::string> unnamed) {
    adoptPending_ = false;
    if (unnamed.empty()) return;
    const int before = grid.IsEmpty() ? 0 : grid.RowCount();
    RebuildIndexFromFiles(unnamed, grid);
    Persist();
    if (listener_)
        for (int row = before; row < grid.RowCount(); ++row) listener_->ItemAdded(grid.FileName(row), grid.DisplayName(row));
}

// Listing a folder of a hundred thousand files takes most of a showing (under Wine far more than
// the rest), while between two showings only names change, most of them the program's own
// captures and deletions, and the watch says what each change did. Whenever it cannot tell (not
// started, run over, folder replaced), or the last listing could not read the folder, the folder
// is listed again, in the background.
bool ClipStore::UpdateListing(const std::function<void()>& ready) {
    if (!Watch()) {
        if (adoptPending_)
            SettleStartup();
        else
            listing_.emplace(fs_, storeDir_);
        return true;
    }
    if (listingJob_.Running() && !listingJob_.Done()) {
        if (ready) listingJob_.WhenDone(ready);
        return false;
    }
    // Taken before anything is listed: a change made while the folder is listed is in the next
    // answer. A listing just made is the folder as it is, whatever the watch says of that time.
    const bool fresh = TakeListing();
    if (!fresh) SettleStartup();
    const FolderChanges changes = watch_->TakeChanges();
    if (fresh) {
        if (!changes.unknown) listing_->Apply(changes.changes);
        return true;
    }
    if (listing_ && listing_->Listed() && !changes.unknown && listing_->Apply(changes.changes)) return true;
    if (!listingJob_.Start(fs_, storeDir_)) {
        listing_.emplace(fs_, storeDir_);
        return true;
    }
    if (ready) listingJob_.WhenDone(ready);
    return false;
}

// Rows whose files went away (or whose names could reach outside the store) go without a word. A
// folder that is not there at all has not lost its files: it may come back (a share offline, a
// folder moved away and back), and its items with it.
bool ClipStore::DropStaleRows(const std::function<void()>& ready) {
    if (!FolderExists()) {
        SettleStartup();
        return true;
    }
    if (!UpdateListing(ready)) {
        if (ready) return false;
        TakeListing();
    }
    const StoreListing& store = *listing_;
    std::vector<std::string> gone;
    const int removed = grid.RemoveRowsWhere([&store, &gone](const std::string&, const std::string& fileName) {
        const bool stale = !IsPlainStoreFileName(fileName) || !store.Contains(fileName);
        if (stale && !fileName.empty()) gone.push_back(fileName);
        return stale;
    });
    if (removed > 0) Persist();
    if (listener_)
        for (const std::string& fileName : gone) listener_->ItemRemoved(fileName);
    return true;
}

// Written when the index has items, removed when it is empty.
void ClipStore::Persist() { writer_.Request(grid.IsEmpty() ? std::nullopt : std::optional(EncodeIndexFile(grid))); }

}  // namespace tessera
