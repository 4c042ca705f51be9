#include "store/file_system.h"

namespace tessera {

std::unique_ptr<FolderWatch> FileSystem::WatchFolder(const std::string&) { return nullptr; }

std::optional<std::string> FileSystem::ReadStart(const std::string& path, std::size_t bytes) {
    std::optional<std::string> all = ReadAll(path);
    if (all && all->size() > bytes) all->resize(bytes);
    return all;
}

std::vector<std::string> FileSystem::ListPlainFiles(const std::string& dir) {
    std::vector<std::string> names;
    std::optional<std::vector<FolderEntry>> files = ListFiles(dir);
    if (!files) return names;
    for (FolderEntry& entry : *files)
        if (entry.plain) names.push_back(std::move(entry.name));
    return names;
}

LockAttempt FileSystem::LockFile(const std::string&, std::string_view) { return {}; }

// Reading on into a small buffer past the hint finds the end without growing (and copying) the
// whole string.
std::optional<std::string> ReadWholeFile(std::size_t sizeHint,
                                         const std::function<std::int64_t(char* into, std::size_t room)>& read) {
    std::string bytes(sizeHint, '\0');
    std::size_t have = 0;
    char more[4096];
    for (;;) {
        const bool inPlace = have < bytes.size();
        const std::int64_t n = read(inPlace ? bytes.data() + have : more, inPlace ? bytes.size() - have : sizeof more);
        if (n < 0) return std::nullopt;
        if (n == 0) break;
        if (!inPlace) bytes.append(more, static_cast<std::size_t>(n));
        have += static_cast<std::size_t>(n);
    }
    bytes.resize(have);
    return bytes;
}

}  // namespace tessera
