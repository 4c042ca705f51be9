#include "store/store_listing.h"

#include <utility>

#include "text/ascii.h"

namespace tessera {
namespace {

// The listing answers exactly for names made of ASCII characters. Letters beyond ASCII fold by
// the file system's own table, and a "~" may be a short alias that a listing of long names
// does not show: those few names are asked of the file system one by one.
bool ListingAnswersFor(std::string_view name) {
    for (const char c : name)
        if (static_cast<unsigned char>(c) >= 0x80 || c == '~') return false;
    return true;
}

}  // namespace

// Checking thousands of names one by one costs a system call each, and under Wine a name that is
// missing costs a scan of the whole folder: one listing makes showing a large store quick.
StoreListing::StoreListing(FileSystem& fs, std::string storeDir, std::vector<std::string>* plainFiles)
    : fs_(fs), storeDir_(std::move(storeDir)) {
    for (FolderEntry& file : fs_.ListFiles(storeDir_)) {
        upperNames_.insert(UpperAscii(file.name));
        if (plainFiles && file.plain) plainFiles->push_back(std::move(file.name));
    }
}

// A name the listing cannot settle may be a short alias of a long name it holds: what the change
// did to the long name is unknown.
bool StoreListing::Recheck(const std::vector<std::string>& changedNames) {
    for (const std::string& name : changedNames) {
        if (!ListingAnswersFor(name)) return false;
        // A folder of that name is no file, and the file may come back under another case.
        if (fs_.FileExists(storeDir_ + '\\' + name))
            upperNames_.insert(UpperAscii(name));
        else
            upperNames_.erase(UpperAscii(name));
    }
    return true;
}

// An empty listing may be a folder that could not be read: then every name is checked on its
// own rather than every item taken for gone.
bool StoreListing::Contains(std::string_view fileName) const {
    if (!upperNames_.empty() && ListingAnswersFor(fileName)) return upperNames_.count(UpperAscii(fileName)) != 0;
    std::string path = storeDir_;
    path += '\\';
    path += fileName;
    return fs_.FileExists(path);
}

}  // namespace tessera
