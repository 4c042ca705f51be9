#pragma once
// The file operations the clip store needs, as a port: Win32 in the program, POSIX on the host.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/folder_watch.h"

namespace tessera {

enum class NewFileResult { Created, Exists, Failed };

// A file of a folder; a plain one is neither hidden nor a system file.
struct FolderEntry {
    std::string name;
    bool plain = true;
};

// A file held so that no other process can hold it, until this goes.
class FileLock {
public:
    virtual ~FileLock() = default;
};

// The lock when it was taken; else, when another process holds it, the text it wrote there.
// Neither when no lock could be made (a folder that cannot be written).
struct LockAttempt {
    std::unique_ptr<FileLock> lock;
    std::optional<std::string> heldBy;
};

// A whole file read through `read`, which fills up to `room` bytes at `into` and answers how
// many it read, 0 at the end, or -1 on a failure (nothing is returned then). `sizeHint` is the
// size the file had when it was opened: it may change while it is read.
std::optional<std::string> ReadWholeFile(std::size_t sizeHint,
                                         const std::function<std::int64_t(char* into, std::size_t room)>& read);

// Paths are the program's 8-bit strings. A Win32 implementation takes them in the ANSI code page.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    // The whole file, or nothing when it cannot be opened or read.
    virtual std::optional<std::string> ReadAll(const std::string& path) = 0;
    // The file's first `bytes` bytes (fewer when it is shorter), or nothing when it cannot be
    // read. By default the whole file is read, then cut.
    virtual std::optional<std::string> ReadStart(const std::string& path, std::size_t bytes);
    // Replaces the file's content with `bytes`, all or nothing: after a failure or a crash at any
    // moment the file holds either its old content or the new one. Creates a missing file.
    virtual bool ReplaceContents(const std::string& path, std::string_view bytes) = 0;
    // Makes a new file holding `bytes`, only when nothing of that name exists yet (Exists then,
    // and nothing is touched). A file it made and could not fill is removed again.
    virtual NewFileResult CreateNewFile(const std::string& path, std::string_view bytes) = 0;
    virtual bool FileExists(const std::string& path) = 0;
    virtual bool DirectoryExists(const std::string& path) = 0;
    virtual bool MakeDirectory(const std::string& path) = 0;
    // A missing file counts as removed.
    virtual bool RemoveFile(const std::string& path) = 0;
    // Every file of a folder, hidden and system ones included (not folders), in any order;
    // nothing when the folder could not be read (an empty folder lists no file).
    virtual std::optional<std::vector<FolderEntry>> ListFiles(const std::string& dir) = 0;
    // Names of the plain files of a folder, in any order (none when it could not be read).
    std::vector<std::string> ListPlainFiles(const std::string& dir);
    // Holds the file `path` for this process, made when missing and holding `content`; it goes
    // when the lock goes, or when the process ends however it ends. Where the system offers no
    // such lock, no lock is made.
    virtual LockAttempt LockFile(const std::string& path, std::string_view content);
    // A watch on the names of `dir`'s files, or nothing where the system offers none (then a
    // caller lists the folder whenever it needs to know what it holds).
    virtual std::unique_ptr<FolderWatch> WatchFolder(const std::string& dir);
};

}  // namespace tessera
