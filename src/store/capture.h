#pragma once
// Filing the clipboard's content as a new clip item.
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>

#include "store/clip_index.h"
#include "store/clip_kind.h"
#include "store/file_system.h"

namespace tessera {

// What a writer made of the clipboard's content of one kind: the new item file's bytes.
struct ClipFileContent {
    enum class Status {
        Ready,       // `bytes` are the file's content
        FormatGone,  // the kind's format left the clipboard in the meantime: nothing to write
        Unreadable,  // the content could not be read or converted
    };
    Status status = Status::FormatGone;
    std::string bytes;
};

// Reads the clipboard's content of one kind as the bytes of its item file.
class ClipWriter {
public:
    virtual ~ClipWriter() = default;
    virtual ClipFileContent Read(ClipKind kind) = 0;
};

// A file or folder of the store that could not be made. The text is the French one; the
// program says it in the user's language from `kind` and `path`.
class CannotCreateError : public std::runtime_error {
public:
    enum class Kind { File, Folder };
    CannotCreateError(Kind kind, std::string path);
    Kind kind() const noexcept { return kind_; }
    const std::string& path() const noexcept { return path_; }

private:
    Kind kind_;
    std::string path_;
};

struct CaptureRequest {
    std::string storeDir;    // an existing folder, no trailing backslash
    std::string textPrefix;  // the active language's word for text items ("Texte")
    // When set, what the writer read is filed only if this accepts it: no file is made otherwise.
    std::function<bool(ClipKind kind, const ClipFileContent& content)> accept = nullptr;
};

// Writes the clipboard's first supported kind to a new file of the store and appends its item
// to `index`; returns the item's display name, or nothing when nothing was captured. The file
// never replaces one that exists: a name an index row or a file of the store already has is
// passed over for the next number. Throws CannotCreateError, with `index` unchanged, when the
// file cannot be made.
std::optional<std::string> CaptureClipboard(const CaptureRequest& request, const ClipboardFormats& formats,
                                            ClipIndex& index, ClipWriter& writer, FileSystem& fs);

}  // namespace tessera
