#pragma once
// An in-memory FileSystem for core tests: files by full path, folders as a set of paths.
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "store/file_system.h"

namespace tessera::testing {

class MemoryFileSystem : public FileSystem {
public:
    std::map<std::string, std::string> files;
    std::set<std::string> folders;
    std::set<std::string> unreadable;          // exist, but cannot be opened
    std::set<std::string> hidden;              // files listed as hidden
    std::set<std::string> unlistable;          // folders that cannot be read
    std::map<std::string, std::string> locks;  // lock files another process holds, and their text
    std::vector<std::string> madeFolders;
    bool refuseWrites = false;

    std::optional<std::string> ReadAll(const std::string& path) override {
        const auto it = files.find(path);
        if (it == files.end() || unreadable.count(path)) return std::nullopt;
        return it->second;
    }
    bool ReplaceContents(const std::string& path, std::string_view bytes) override {
        if (refuseWrites) return false;
        files[path] = bytes;
        return true;
    }
    NewFileResult CreateNewFile(const std::string& path, std::string_view bytes) override {
        if (files.count(path) || folders.count(path)) return NewFileResult::Exists;
        if (refuseWrites) return NewFileResult::Failed;
        files[path] = bytes;
        return NewFileResult::Created;
    }
    bool FileExists(const std::string& path) override { return files.count(path) != 0; }
    bool DirectoryExists(const std::string& path) override { return folders.count(path) != 0; }
    bool MakeDirectory(const std::string& path) override {
        madeFolders.push_back(path);
        return folders.insert(path).second;
    }
    bool RemoveFile(const std::string& path) override {
        files.erase(path);
        return true;
    }
    // Files directly inside `dir` ("dir\name").
    std::optional<std::vector<FolderEntry>> ListFiles(const std::string& dir) override {
        if (unlistable.count(dir)) return std::nullopt;
        std::vector<FolderEntry> entries;
        const std::string prefix = dir + "\\";
        for (const auto& [path, bytes] : files)
            if (path.compare(0, prefix.size(), prefix) == 0 && path.find('\\', prefix.size()) == std::string::npos)
                entries.push_back({path.substr(prefix.size()), !hidden.count(path)});
        return entries;
    }
    // A lock is held until the FileLock goes; one in `locks` is another process's.
    LockAttempt LockFile(const std::string& path, std::string_view content) override {
        if (const auto held = locks.find(path); held != locks.end()) return {nullptr, held->second};
        struct Held : FileLock {
            Held(MemoryFileSystem& fs, std::string path) : fs(fs), path(std::move(path)) {}
            ~Held() override { fs.locks.erase(path); }
            MemoryFileSystem& fs;
            std::string path;
        };
        locks[path] = content;
        return {std::make_unique<Held>(*this, path), std::nullopt};
    }
};

}  // namespace tessera::testing
