#pragma once
// Which item files the store folder holds, read in one listing of the folder.
#include <string>
#include <string_view>
#include <unordered_set>

#include "store/file_system.h"

namespace tessera {

class StoreListing {
public:
    // Lists `storeDir` (no trailing backslash) once.
    StoreListing(FileSystem& fs, std::string storeDir);

    // Whether the folder holds the file `fileName` (a plain store file name), letter case ignored
    // as Windows ignores it.
    bool Contains(std::string_view fileName) const;

private:
    FileSystem& fs_;
    std::string storeDir_;
    std::unordered_set<std::string> upperNames_;
};

}  // namespace tessera
