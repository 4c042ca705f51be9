#include "store/clip_store.h"

#include <system_error>
#include <utility>

#include "store/clear_store.h"
#include "store/index_file.h"
#include "store/store_folder.h"
#include "store/store_listing.h"
#include "store/store_names.h"

namespace tessera {

ClipStore::ClipStore(FileSystem& fs, std::string storeDir, std::string indexFileName)
    : fs_(fs), storeDir_(std::move(storeDir)), indexFileName_(std::move(indexFileName)) {}

void ClipStore::MakeFolder() { ForceDirectories(fs_, storeDir_); }

bool ClipStore::FolderExists() { return fs_.DirectoryExists(storeDir_); }

IndexStartup ClipStore::Load() {
    IndexStartup startup = LoadIndexAtStart(fs_, indexFileName_, storeDir_, grid);
    ListInBackground();
    return startup;
}

// A missing folder files nothing and says nothing: the user copied something the program
// cannot keep, and the chooser's creation has reported the folder already.
std::optional<std::string> ClipStore::Capture(const ClipboardFormats& formats, ClipWriter& writer,
                                              std::string_view textPrefix) {
    const CaptureRequest request{false, FolderExists(), storeDir_, std::string(textPrefix)};
    return CaptureClipboard(request, formats, grid, writer, fs_);
}

void ClipStore::Save() { SaveIndex(fs_, grid, indexFileName_); }

std::vector<std::string> ClipStore::Clear() {
    std::vector<std::string> kept = ClearStore(fs_, storeDir_, grid);
    if (!fs_.RemoveFile(indexFileName_)) kept.push_back(indexFileName_);
    return kept;
}

std::optional<std::string> ClipStore::ItemPath(int row) const { return StoreFilePath(storeDir_, grid.FileName(row)); }

bool ClipStore::ItemFileExists(int row) {
    const std::optional<std::string> path = ItemPath(row);
    return path && fs_.FileExists(*path);
}

FolderWatch* ClipStore::Watch() {
    if (!watchAsked_) {
        watchAsked_ = true;
        watch_ = fs_.WatchFolder(storeDir_);
    }
    return watch_.get();
}

// The first showing would otherwise list the folder while the user waits. The watch starts
// first, so that whatever changes while the listing is made is reported at that showing. Without
// a watch the listing would be out of date by then, and without a thread the showing lists.
void ClipStore::ListInBackground() {
    if (!Watch()) return;
    watch_->TakeChanges();
    try {
        backgroundListing_ = std::async(std::launch::async, [this] { return StoreListing(fs_, storeDir_); });
    } catch (const std::system_error&) {
    }
}

// Listing a folder of a hundred thousand files takes most of a showing (under Wine far more than
// the rest), while between two showings only a few names change, most of them the program's own
// captures and deletions. The watch names them, and only those are asked again. Whenever it
// cannot tell (not started, run over, folder replaced), or the last listing found nothing (an
// unreadable folder lists empty), the folder is listed as if there were no watch.
const StoreListing& ClipStore::CurrentListing() {
    if (!Watch()) return listing_.emplace(fs_, storeDir_);
    if (backgroundListing_.valid()) listing_.emplace(backgroundListing_.get());
    // Taken before any listing: a change made while the folder is listed is in the next answer.
    const FolderChanges changes = watch_->TakeChanges();
    if (listing_ && !listing_->Empty() && !changes.unknown && listing_->Recheck(changes.names)) return *listing_;
    return listing_.emplace(fs_, storeDir_);
}

// Rows whose files went away (or whose names could reach outside the store) go without a word.
void ClipStore::DropStaleRows() {
    const StoreListing& store = CurrentListing();
    grid.RemoveRowsWhere([&store](const std::string&, const std::string& fileName) {
        return !IsPlainStoreFileName(fileName) || !store.Contains(fileName);
    });
}

void ClipStore::RemoveItem(int row) {
    if (const std::optional<std::string> path = ItemPath(row)) fs_.RemoveFile(*path);
    grid.RemoveRow(row);
}

void ClipStore::Rename(int row, std::string_view displayName) {
    if (row < 0 || row >= grid.RowCount()) return;
    grid.SetCell(ClipIndex::kDisplayNameColumn, row, displayName);
}

}  // namespace tessera
