#include "store/index_startup.h"

#include <algorithm>
#include <stdexcept>

#include "store/index_file.h"

namespace tessera {
namespace {

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

std::string WithoutExtension(const std::string& name) {
    const size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

}  // namespace

void RebuildIndexFromFiles(const std::vector<std::string>& files, ClipIndex& index) {
    for (const std::string& f : files) index.AppendItem(WithoutExtension(f), f);
}

void SortNamesIgnoringCase(std::vector<std::string>& files) {
    std::stable_sort(files.begin(), files.end(), [](const std::string& a, const std::string& b) {
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
            return static_cast<unsigned char>(Upper(x)) < static_cast<unsigned char>(Upper(y));
        });
    });
}

// The folder is listed only when the index must be rebuilt from it: with a hundred thousand items
// the listing and its sort would take longer than reading the index file.
IndexStartup LoadIndexAtStart(FileSystem& fs, const std::string& indexPath, const std::string& storeDir,
                              ClipIndex& index) {
    IndexStartup result;
    const auto rebuild = [&] {
        result.files = fs.ListPlainFiles(storeDir);
        SortNamesIgnoringCase(result.files);
        RebuildIndexFromFiles(result.files, index);
    };
    if (!fs.FileExists(indexPath)) {
        rebuild();
        return result;
    }
    try {
        LoadIndexFile(fs, index, indexPath);
    } catch (const std::runtime_error& e) {
        // An index file that cannot be read (locked, or a folder in its place) must not hide the
        // items: they are listed from the folder, so a later save names every one of them again.
        result.loadError = e.what();
        index = ClipIndex{};
        rebuild();
    }
    return result;
}

}  // namespace tessera
