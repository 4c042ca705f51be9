#include "store/capture.h"

#include "store/item_numbering.h"
#include "store/store_names.h"

namespace tessera {

// A missing store folder, a suppressed capture or a clipboard without a supported format end
// the capture silently: the user copied something the program does not keep, nothing more.
// The item is appended even when the writer found its format gone in the meantime and wrote
// nothing: the chooser reports an item whose file is missing.
std::optional<std::string> CaptureClipboard(const CaptureRequest& request, const ClipboardFormats& formats,
                                            ClipIndex& index, ClipWriter& writer) {
    if (request.captureSuppressed || !request.storeExists) return std::nullopt;
    const std::optional<ClipKind> kind = ChooseClipKind(formats);
    if (!kind) return std::nullopt;

    const std::string prefix = ClipKindPrefix(*kind, request.textPrefix);
    const std::string displayName = prefix + NextNumberSuffix(index, request.itemCount, prefix);
    const std::string fileName = displayName + std::string(ClipKindExtension(*kind));
    // Only a translated text prefix could make the name unsafe; such a capture is not made.
    const std::optional<std::string> path = StoreFilePath(request.storeDir, fileName);
    if (!path) return std::nullopt;

    writer.Write(*kind, *path);
    index.AppendItem(displayName, fileName);
    return displayName;
}

}  // namespace tessera
