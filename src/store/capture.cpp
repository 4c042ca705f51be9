#include "store/capture.h"

#include <climits>
#include <cstdint>
#include <stdexcept>
#include <utility>

#include "store/item_numbering.h"
#include "store/store_names.h"

namespace tessera {
namespace {

// Names after the first one are tried only while files of those names exist: after a crash (the
// captures since the last save are files the index does not name) or a file put there by hand.
// The bound only keeps a store that answers "exists" to everything from looping for ever.
constexpr int kNamesTried = 100000;

// An index file may claim two billion rows, all but a few never written: such rows name no file
// and are dropped as stale when the chooser next shows, so dropping them now makes room for the
// new item and leaves the list the chooser will show unchanged.
void MakeRoomForOneRow(ClipIndex& index) {
    if (index.RowCount() < INT_MAX) return;
    index.RemoveRowsWhere([](const std::string&, const std::string& fileName) { return fileName.empty(); });
}

}  // namespace

// The path is ANSI and the rest of the message UTF-8: the error display copes with the mix.
CannotCreateError::CannotCreateError(Kind kind, std::string path)
    : std::runtime_error((kind == Kind::File ? "Impossible de créer le fichier " : "Impossible de créer le dossier ") +
                         path),
      kind_(kind),
      path_(std::move(path)) {}

namespace {

[[noreturn]] void ThrowCannotCreate(const std::string& path) {
    throw CannotCreateError(CannotCreateError::Kind::File, path);
}

}  // namespace

// A clipboard without a supported format ends the capture silently: the user copied something
// the program does not keep, nothing more.
// The item is appended even when the writer found its format gone in the meantime and wrote
// nothing: the chooser reports an item whose file is missing. Its name still skips existing
// files, so that the row never points at a file it did not make.
std::optional<std::string> CaptureClipboard(const CaptureRequest& request, const ClipboardFormats& formats,
                                            ClipIndex& index, ClipWriter& writer, FileSystem& fs) {
    const std::optional<ClipKind> kind = ChooseClipKind(formats);
    if (!kind) return std::nullopt;

    const std::string prefix = ClipKindPrefix(*kind, request.textPrefix);
    const std::int64_t first = NextNumber(index, prefix);
    const ClipFileContent content = writer.Read(*kind);
    if (request.accept && !request.accept(*kind, content)) return std::nullopt;
    for (std::int64_t number = first; number < first + kNamesTried; ++number) {
        const std::string displayName = prefix + NumberSuffix(number);
        const std::string fileName = displayName + std::string(ClipKindExtension(*kind));
        // Only a translated text prefix could make the name unsafe; such a capture is not made.
        const std::optional<std::string> path = StoreFilePath(request.storeDir, fileName);
        if (!path) return std::nullopt;

        NewFileResult made = NewFileResult::Exists;
        switch (content.status) {
        case ClipFileContent::Status::Unreadable: ThrowCannotCreate(*path);
        case ClipFileContent::Status::FormatGone:
            made = fs.FileExists(*path) ? NewFileResult::Exists : NewFileResult::Created;
            break;
        case ClipFileContent::Status::Ready: made = fs.CreateNewFile(*path, content.bytes); break;
        }
        if (made == NewFileResult::Exists) continue;
        if (made == NewFileResult::Failed) ThrowCannotCreate(*path);
        MakeRoomForOneRow(index);
        index.AppendItem(displayName, fileName);
        return displayName;
    }
    ThrowCannotCreate(request.storeDir + "\\" + prefix + NumberSuffix(first + kNamesTried));
}

}  // namespace tessera
