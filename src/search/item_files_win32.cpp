#include <windows.h>

#include <memory>

#include "search/disk_item_files.h"
#include "store/disk_file_system.h"

namespace tessera {

namespace {

FileStamp StampOf(DWORD sizeHigh, DWORD sizeLow, const FILETIME& written) {
    return FileStamp{static_cast<std::uint64_t>(sizeHigh) << 32 | sizeLow,
                     static_cast<std::int64_t>(static_cast<std::uint64_t>(written.dwHighDateTime) << 32 | written.dwLowDateTime)};
}

}  // namespace

std::optional<FileStamp> DiskItemFiles::Stamp(const std::string& fileName) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExA((storeDir_ + "\\" + fileName).c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::nullopt;
    return StampOf(data.nFileSizeHigh, data.nFileSizeLow, data.ftLastWriteTime);
}

std::optional<std::string> DiskItemFiles::Read(const std::string& fileName) {
    return DiskFileSystem().ReadAll(storeDir_ + "\\" + fileName);
}

// The folder's listing gives each file's size and time with its name: one call per file fewer.
// The basic information level and large fetches spare Windows the short names and round trips.
std::optional<std::vector<std::pair<std::string, FileStamp>>> DiskItemFiles::ListStamps() {
    WIN32_FIND_DATAA found{};
    const HANDLE handle = ::FindFirstFileExA((storeDir_ + "\\*").c_str(), FindExInfoBasic, &found, FindExSearchNameMatch,
                                             nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
    const std::unique_ptr<void, decltype(&::FindClose)> find(handle, &::FindClose);
    std::vector<std::pair<std::string, FileStamp>> files;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            files.emplace_back(found.cFileName, StampOf(found.nFileSizeHigh, found.nFileSizeLow, found.ftLastWriteTime));
    } while (::FindNextFileA(find.get(), &found));
    return files;
}

}  // namespace tessera
