#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <memory>

#include "search/disk_item_files.h"
#include "store/disk_file_system.h"

namespace tessera {

namespace {

// Nanoseconds since 1970: a time that changes with every write the file system can tell apart.
FileStamp StampOf(const struct stat& st) {
    return FileStamp{static_cast<std::uint64_t>(st.st_size),
                     static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec};
}

}  // namespace

std::optional<FileStamp> DiskItemFiles::Stamp(const std::string& fileName) {
    struct stat st {};
    if (::stat((storeDir_ + "/" + fileName).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    return StampOf(st);
}

std::optional<std::string> DiskItemFiles::Read(const std::string& fileName) {
    return DiskFileSystem().ReadAll(storeDir_ + "/" + fileName);
}

std::optional<std::vector<std::pair<std::string, FileStamp>>> DiskItemFiles::ListStamps() {
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(storeDir_.c_str()), ::closedir);
    if (!dir) return std::nullopt;
    std::vector<std::pair<std::string, FileStamp>> files;
    const int fd = ::dirfd(dir.get());
    while (const dirent* entry = ::readdir(dir.get())) {
        if (entry->d_name[0] == '.') continue;
        struct stat st {};
        if (::fstatat(fd, entry->d_name, &st, 0) == 0 && S_ISREG(st.st_mode)) files.emplace_back(entry->d_name, StampOf(st));
    }
    return files;
}

}  // namespace tessera
