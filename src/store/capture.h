#pragma once
// Filing the clipboard's content as a new clip item.
#include <optional>
#include <string>

#include "store/clip_index.h"
#include "store/clip_kind.h"

namespace tessera {

// Writes the clipboard's content of one kind to a file; throws when the file cannot be created.
// A writer that finds its format gone writes nothing and returns normally.
class ClipWriter {
public:
    virtual ~ClipWriter() = default;
    virtual void Write(ClipKind kind, const std::string& path) = 0;
};

struct CaptureRequest {
    bool captureSuppressed = false;
    bool storeExists = false;  // the store's folder is there
    std::string storeDir;      // no trailing backslash
    std::string textPrefix;    // the active language's word for text items ("Texte")
    int itemCount = 0;         // items in the chooser's list
};

// Writes the clipboard's first supported kind to a new file and appends its item to `index`;
// returns the item's display name, or nothing when nothing was captured. A writer's exception
// goes on to the caller with `index` unchanged.
std::optional<std::string> CaptureClipboard(const CaptureRequest& request, const ClipboardFormats& formats,
                                            ClipIndex& index, ClipWriter& writer);

}  // namespace tessera
