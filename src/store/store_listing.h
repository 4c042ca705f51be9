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
    // as Windows ignores it. A folder that could not be read is taken to hold every file: nothing
    // is gone that nobody saw go.
    bool Contains(std::string_view fileName) const;

    // Takes in what changed since the listing, so that it answers as a new one would, without a
    // question to the file system. False, with the listing partly updated, when a name is one
    // the listing cannot settle on its own (see Contains): only a new listing is exact then.
    bool Apply(const std::vector<NameChange>& changes);
    // The folder could be read: the listing says what it holds.
    bool Listed() const noexcept { return listed_; }

private:
    FileSystem& fs_;
    std::string storeDir_;
    std::unordered_set<std::string> upperNames_;
    bool listed_ = false;
};

}  // namespace tessera
