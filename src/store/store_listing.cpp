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
    std::optional<std::vector<FolderEntry>> files = fs_.ListFiles(storeDir_);
    listed_ = files.has_value();
    if (!files) return;
    for (FolderEntry& file : *files) {
        upperNames_.insert(UpperAscii(file.name));
        if (plainFiles && file.plain) plainFiles->push_back(std::move(file.name));
    }
}

// The watch says what each change did, in order: a hundred thousand files deleted by hand cost
// no more than reading their names. A name the listing cannot settle may be a short alias of a
// long name it holds: what the change did to the long name is unknown.
bool StoreListing::Apply(const std::vector<NameChange>& changes) {
    for (const NameChange& change : changes) {
        if (!ListingAnswersFor(change.name)) return false;
        if (change.present)
            upperNames_.insert(UpperAscii(change.name));
        else
            upperNames_.erase(UpperAscii(change.name));
    }
    return true;
}

bool StoreListing::Contains(std::string_view fileName) const {
    if (!listed_) return true;
    if (ListingAnswersFor(fileName)) return upperNames_.count(UpperAscii(fileName)) != 0;
    std::string path = storeDir_;
    path += '\\';
    path += fileName;
    return fs_.FileExists(path);
}

}  // namespace tessera
