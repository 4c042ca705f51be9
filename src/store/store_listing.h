#pragma once
// Which item files the store folder holds, read in one listing of the folder.
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "store/file_system.h"

namespace tessera {

class StoreListing {
public:
    // Lists `storeDir` (no trailing backslash) once; the names of its plain files go to
    // `plainFiles` when asked for.
    StoreListing(FileSystem& fs, std::string storeDir, std::vector<std::string>* plainFiles = nullptr);

    // Whether the folder holds the file `fileName` (a plain store file name), letter case ignored
    // as Windows ignores it.
    bool Contains(std::string_view fileName) const;

    // Asks the file system again about names that changed since the listing, so that the
    // listing answers as a new one would. False, with the listing partly updated, when a name is
    // one the listing cannot settle on its own (see Contains): only a new listing is exact then.
    bool Recheck(const std::vector<std::string>& changedNames);
    // Nothing was found (or the folder could not be read): every name is asked one by one.
    bool Empty() const noexcept { return upperNames_.empty(); }

private:
    FileSystem& fs_;
    std::string storeDir_;
    std::unordered_set<std::string> upperNames_;
};

}  // namespace tessera
