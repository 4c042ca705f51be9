#pragma once
// Every entry of a folder, hidden ones included, sorted by name: what a file test left behind.
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace tessera::testing {

inline std::vector<std::string> FolderEntries(const std::filesystem::path& dir) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace tessera::testing
