#pragma once
// The item files as the search's build reads them: a port, so that the build runs on the disk in
// the program and on fakes in tests. Called from the build's own thread: an implementation must
// allow that (the file system's calls do; nothing of the GUI's may be touched).
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "search/item_texts.h"

namespace tessera {

class ItemFiles {
public:
    virtual ~ItemFiles() = default;

    // The size and last-write time of the item's file (a bare store file name), nothing when
    // it is not there.
    virtual std::optional<FileStamp> Stamp(const std::string& fileName) = 0;
    // The item file's bytes, nothing when it cannot be read.
    virtual std::optional<std::string> Read(const std::string& fileName) = 0;
    // Every file of the store folder with its stamp, in one listing of the folder (much faster
    // than a Stamp per file where the system lists sizes and times with the names); nothing
    // where there is no such listing.
    virtual std::optional<std::vector<std::pair<std::string, FileStamp>>> ListStamps() { return std::nullopt; }
};

}  // namespace tessera
