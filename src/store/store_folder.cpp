#include "store/store_folder.h"

namespace tessera {
namespace {

bool IsDelimiter(char c) { return c == '\\' || c == '/' || c == ':'; }

// The folder part of a path, with its last delimiter.
std::string ParentPart(const std::string& path) {
    for (size_t i = path.size(); i-- > 0;)
        if (IsDelimiter(path[i])) return path.substr(0, i + 1);
    return {};
}

}  // namespace

void ForceDirectories(FileSystem& fs, std::string dir) {
    if (!dir.empty() && (dir.back() == '\\' || dir.back() == '/')) dir.pop_back();
    // A drive ("C:"), a root or a folder that is there already ends the climb.
    if (dir.size() < 3 || fs.DirectoryExists(dir) || ParentPart(dir) == dir) return;
    ForceDirectories(fs, ParentPart(dir));
    fs.MakeDirectory(dir);
}

}  // namespace tessera
