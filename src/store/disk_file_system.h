#pragma once
// The file system of the platform the program is built for: the Win32 file functions (ANSI
// paths) in the Windows builds, POSIX on the host for the native tests and benchmarks.
#include "store/file_system.h"

namespace tessera {

// Plain files exclude folders and hidden or system files (on POSIX: names that start with ".").
class DiskFileSystem final : public FileSystem {
public:
    std::optional<std::string> ReadAll(const std::string& path) override;
    // Reads only the bytes asked for: a picture's header, say, without its megabytes of pixels.
    std::optional<std::string> ReadStart(const std::string& path, std::size_t bytes) override;
    bool ReplaceContents(const std::string& path, std::string_view bytes) override;
    NewFileResult CreateNewFile(const std::string& path, std::string_view bytes) override;
    bool FileExists(const std::string& path) override;
    bool DirectoryExists(const std::string& path) override;
    bool MakeDirectory(const std::string& path) override;
    bool RemoveFile(const std::string& path) override;
    std::optional<std::vector<FolderEntry>> ListFiles(const std::string& dir) override;
    // Windows holds the lock file open for the process, shared for reading only; the host's
    // build makes no lock.
    LockAttempt LockFile(const std::string& path, std::string_view content) override;
    // Windows reports the names changed in a folder; the host's build watches nothing.
    std::unique_ptr<FolderWatch> WatchFolder(const std::string& dir) override;
};

}  // namespace tessera
