#include "store/disk_file_system.h"

#include <windows.h>

#include <algorithm>
#include <atomic>

#include "win/unique_handle.h"

namespace tessera {

namespace {

using win::unique_hfile;
using win::unique_hfind;

bool WriteAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
        bytes.remove_prefix(written);
    }
    return true;
}

// A new file beside `target` under a name no other writer picks. It is hidden while it is being
// written, so that a folder listing passes over a copy left behind by a crash.
unique_hfile CreateTemporaryBeside(const std::string& target, std::string& name) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = target + "." + std::to_string(::GetCurrentProcessId()) + "." + std::to_string(counter++) + ".tmp";
        unique_hfile file(
            ::CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_HIDDEN, nullptr));
        if (file || ::GetLastError() != ERROR_FILE_EXISTS) return file;
    }
    return unique_hfile{};
}

DWORD LinkCount(const std::string& path) {
    unique_hfile file(::CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!file || !::GetFileInformationByHandle(file.get(), &info)) return 1;
    return info.nNumberOfLinks;
}

// What the replacing file takes over from the file it replaces.
constexpr DWORD kKeptAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

}  // namespace

// Readers share everything, delete included: a reader must not make a concurrent replace fail.
std::optional<std::string> DiskFileSystem::ReadAll(const std::string& path) {
    unique_hfile file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    LARGE_INTEGER size{};
    if (!file || !::GetFileSizeEx(file.get(), &size)) return std::nullopt;
    return ReadWholeFile(static_cast<std::size_t>(size.QuadPart), [&file](char* into, std::size_t room) {
        DWORD read = 0;
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(room, 1u << 30));  // 32-bit counts
        return ::ReadFile(file.get(), into, chunk, &read, nullptr) ? std::int64_t{read} : std::int64_t{-1};
    });
}

std::optional<std::string> DiskFileSystem::ReadStart(const std::string& path, std::size_t bytes) {
    unique_hfile file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) return std::nullopt;
    std::string head(std::min<std::size_t>(bytes, 1u << 20), '\0');
    DWORD read = 0;
    if (!::ReadFile(file.get(), head.data(), static_cast<DWORD>(head.size()), &read, nullptr)) return std::nullopt;
    head.resize(read);
    return head;
}

// The new content goes to a temporary file beside the target, is flushed to disk, and then
// moved over the target by MoveFileExA: one rename, which either happens or not, so a crash or a
// full disk leaves the old file whole. (ReplaceFileA would also carry over the old file's
// security and creation time, but it needs an existing target, and some of its failures leave
// the target renamed to the backup name or gone; the index file is the program's own, beside
// its executable, so its attributes are enough.) A target with several hard links would lose
// its identity (the other names would keep the old content), so there the flushed copy only
// guards the rewrite of the target in place.
bool DiskFileSystem::ReplaceContents(const std::string& path, std::string_view bytes) {
    const DWORD oldAttributes = ::GetFileAttributesA(path.c_str());
    const bool exists = oldAttributes != INVALID_FILE_ATTRIBUTES;
    if (exists && (oldAttributes & FILE_ATTRIBUTE_DIRECTORY)) return false;

    std::string temporary;
    unique_hfile out = CreateTemporaryBeside(path, temporary);
    if (!out) return false;
    bool removeTemporary = true;
    // An open file cannot be deleted: the handle goes first (a failed write leaves it open).
    win::scope_exit cleanup([&] {
        out.reset();
        if (removeTemporary) ::DeleteFileA(temporary.c_str());
    });

    if (!WriteAll(out.get(), bytes) || !::FlushFileBuffers(out.get())) return false;
    out.reset();

    if (exists && LinkCount(path) > 1) {
        unique_hfile inPlace(::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                           FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!inPlace) return false;
        // From here on the target may be half written: the flushed copy is then the only whole
        // one, so it stays.
        removeTemporary =
            WriteAll(inPlace.get(), bytes) && ::SetEndOfFile(inPlace.get()) && ::FlushFileBuffers(inPlace.get());
        return removeTemporary;
    }

    const DWORD attributes = exists ? oldAttributes & kKeptAttributes : 0;
    if (!::SetFileAttributesA(temporary.c_str(), attributes ? attributes : FILE_ATTRIBUTE_NORMAL)) return false;
    if (!::MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return false;
    removeTemporary = false;
    return true;
}

// CREATE_NEW makes the file only when no file of that name (in any letter case) is there. A
// folder of that name answers "access denied" rather than "exists"; it takes the name all the same.
NewFileResult DiskFileSystem::CreateNewFile(const std::string& path, std::string_view bytes) {
    unique_hfile out(
        ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!out) {
        const DWORD error = ::GetLastError();
        const bool taken = error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ||
                           ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
        return taken ? NewFileResult::Exists : NewFileResult::Failed;
    }
    if (WriteAll(out.get(), bytes) && ::CloseHandle(out.release())) return NewFileResult::Created;
    out.reset();
    ::DeleteFileA(path.c_str());
    return NewFileResult::Failed;
}

bool DiskFileSystem::FileExists(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DiskFileSystem::DirectoryExists(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DiskFileSystem::MakeDirectory(const std::string& path) { return ::CreateDirectoryA(path.c_str(), nullptr); }

bool DiskFileSystem::RemoveFile(const std::string& path) {
    if (::DeleteFileA(path.c_str())) return true;
    const DWORD error = ::GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// A folder lists at least "." and ".." (the root of a drive excepted, which is never the store): a
// search that finds nothing at all is a folder that could not be read.
std::optional<std::vector<FolderEntry>> DiskFileSystem::ListFiles(const std::string& dir) {
    std::vector<FolderEntry> files;
    std::string pattern = dir;
    if (!pattern.empty() && pattern.back() != '\\' && pattern.back() != '/') pattern += '\\';
    pattern += '*';
    WIN32_FIND_DATAA found{};
    unique_hfind find(::FindFirstFileA(pattern.c_str(), &found));
    if (!find) return std::nullopt;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            files.push_back(
                {found.cFileName, !(found.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM))});
    } while (::FindNextFileA(find.get(), &found));
    return files;
}

namespace {

class HeldFile final : public FileLock {
public:
    explicit HeldFile(unique_hfile file) : file_(std::move(file)) {}

private:
    unique_hfile file_;
};

// What the holder wrote, read through a handle that lets the holder keep everything it asked for.
std::string ReadHeldFile(const std::string& path) {
    unique_hfile file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    char text[1024];
    DWORD read = 0;
    if (!file || !::ReadFile(file.get(), text, sizeof text, &read, nullptr)) return {};
    return std::string(text, read);
}

}  // namespace

// Shared for reading only, so that a second start can read who holds it and cannot hold it too.
// The system closes the handle when the process ends, however it ends, and the file goes with it
// (on a network share, when the server sees the computer gone): a crash never leaves a lock that
// stops the next start. A file left by other means is opened and taken over.
LockAttempt DiskFileSystem::LockFile(const std::string& path, std::string_view content) {
    unique_hfile file(::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    if (!file) {
        const DWORD error = ::GetLastError();
        if (error != ERROR_SHARING_VIOLATION && error != ERROR_LOCK_VIOLATION) return {};
        return {nullptr, ReadHeldFile(path)};
    }
    // What a second start reads; a lock that could not say it is held all the same.
    if (::SetFilePointer(file.get(), 0, nullptr, FILE_BEGIN) == 0 && ::SetEndOfFile(file.get()) &&
        WriteAll(file.get(), content))
        ::FlushFileBuffers(file.get());
    return {std::make_unique<HeldFile>(std::move(file)), std::nullopt};
}

}  // namespace tessera
